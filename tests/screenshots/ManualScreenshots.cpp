// Renders every picture of the user manual from the demo inspection, through the real main
// window and its dialogs, on the screen scripts/screenshots gives it (1366 × 768). Usage:
// manual_screenshots OUTPUT_FOLDER. Prints each picture written; exits 1 when one could not
// be made, so a changed flow never leaves an old picture standing unnoticed.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <cstdio>

#include "app/CAboutDlg.h"
#include "app/CCorvaneApp.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "dialogs/CCheckListCtrl.h"
#include "dialogs/CDlgAcceptance.h"
#include "dialogs/CDlgEdit.h"
#include "dialogs/CDlgSetProject.h"
#include "dialogs/CDlgShowUploadData.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "instrument/DemoInspection.h"
#include "model/UploadFile.h"
#include "support/ModalDriver.h"

namespace {

QString folder;
int failures = 0;

// Few colours, most of them flat: PNG's own compression at its strongest keeps them small
// (scripts/screenshots quantizes them further when pngquant is there).
void save(const QImage& image, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name;
    if (image.isNull() || !image.save(path, "PNG", 0)) {
        std::fprintf(stderr, "screenshots: %s could not be made\n", qPrintable(name));
        ++failures;
        return;
    }
    std::printf("%s %dx%d\n", qPrintable(name), image.width(), image.height());
}

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The window with `dialog` where it stands over it, as the screen shows both.
QImage withDialog(QWidget* window, QWidget* dialog) {
    QImage image = window->grab().toImage();
    QPainter painter(&image);
    painter.drawPixmap(dialog->mapToGlobal(QPoint()) - window->mapToGlobal(QPoint()),
                       dialog->grab());
    return image;
}

void fire(CMainFrame& frame, int id) {
    frame.action(id)->trigger();
    settle();
}

// The command `id` runs with its modal dialog of type T pictured as `name`, then closed by
// `close` (reject when none).
template <typename T>
void pictureDialog(CMainFrame& frame, int id, const QString& name,
                   std::function<void(T*)> before = {}, bool overWindow = false) {
    bool seen = false;
    onNextModal<T>([&](T* dialog) {
        seen = true;
        if (before) before(dialog);
        settle();
        save(overWindow ? withDialog(&frame, dialog) : dialog->grab().toImage(), name);
        dialog->reject();
    });
    fire(frame, id);
    if (!seen) {
        std::fprintf(stderr, "screenshots: no dialog for %s\n", qPrintable(name));
        ++failures;
    }
}

// Opens the first row of the table shown, as a click on it does.
void openFirstRow(CMainFrame& frame) {
    CWndLikeMsdn* pane = frame.activeView()->pane();
    const QPoint at(300, pane->groupTop(0) + pane->rowHeight() / 2);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
    settle();
    QTest::mouseMove(pane->viewport(), QPoint(1, 1));
    settle();
}

// Prompts have no place in the pictured flows: one that comes is told, and answered no.
class NoPrompts : public Prompter {
public:
    void message(const QString& caption, const QString& text, Icon) override {
        told(caption, text);
    }
    Answer askYesNo(const QString& caption, const QString& text) override {
        told(caption, text);
        return Answer::No;
    }
    std::optional<QString> saveFile(const FileDialog& d) override {
        return told("save", d.defaultName);
    }
    std::optional<QString> openFile(const FileDialog& d) override {
        return told("open", d.defaultName);
    }

private:
    std::nullopt_t told(const QString& what, const QString& text) {
        std::fprintf(stderr, "screenshots: unexpected prompt %s: %s\n", qPrintable(what),
                     qPrintable(text));
        ++failures;
        return std::nullopt;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: manual_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    // As the program starts, with one style whatever the desktop's.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    CCorvaneApp::installFonts();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts);
    }

    QTemporaryDir work;
    const QString upload = work.filePath(QStringLiteral("demo.vexo"));
    const ComponentList demo = DemoInspection::components();
    if (!UploadFile::save(upload.toStdU16String(), demo).ok()) return 1;

    NoPrompts prompter;
    CMainFrame frame(prompter, nullptr);
    frame.newDocument();
    frame.setGeometry(QRect(QPoint(0, 0), QSize(1366, 768)));
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame)) {
        std::fprintf(stderr, "the main window was never shown\n");
        return 1;
    }
    settle();

    // The first inspection: 创建工程 with the project's texts, then 增加构件 from the upload.
    bool created = false;
    onNextModal<CDlgSetProject>([&](CDlgSetProject* d) {
        d->projectNameEdit()->setText(QStringLiteral("示例大厦主体结构"));
        d->testBasisEdit()->setText(QStringLiteral("GB 50204-2015"));
        d->testUnitEdit()->setText(QStringLiteral("示例工程检测有限公司"));
        d->instrumentEdit()->setText(QStringLiteral("钢筋位置测定仪"));
        settle();
        save(d->grab().toImage(), QStringLiteral("set-project.png"));
        d->accept();
        created = true;
        onNextModal<CDlgShowUploadData>([&](CDlgShowUploadData* c) {
            for (int r = 0; r < c->componentList()->rowCount(); ++r) {
                c->componentList()->setChecked(r, true);
            }
            settle();
            save(withDialog(&frame, c), QStringLiteral("add-components.png"));
            c->accept();
        });
    });
    frame.session().createProjectFrom(upload);
    settle();
    if (!created || frame.project().components().empty()) {
        std::fprintf(stderr, "screenshots: the demo project was not made\n");
        return 1;
    }

    // Each view mode, then its first row open.
    const std::pair<int, const char*> views[] = {{ID_VIEW_THICKNESS, "thickness"},
                                                 {ID_VIEW_DIAMETER, "diameter"},
                                                 {ID_VIEW_GRID, "grid"},
                                                 {ID_VIEW_PROFILE, "profile"}};
    for (const auto& [id, name] : views) {
        fire(frame, id);
        save(frame.grab().toImage(), QStringLiteral("view-%1.png").arg(name));
        openFirstRow(frame);
        CDlgComponent* panel = frame.activeView()->panel();
        save(panel->isVisible() ? panel->grab().toImage() : QImage(),
             QStringLiteral("panel-%1.png").arg(name));
    }
    save(frame.grab().toImage(), QStringLiteral("main-window.png"));

    // 检测结果 as the "..." of a thickness point opens it.
    {
        CDlgEdit dialog(DetectionType::Thickness, 0, 51, 0, &frame);
        dialog.show();
        settle();
        save(dialog.grab().toImage(), QStringLiteral("point-dialog.png"));
    }

    // 验收判定 with the classes of the manual's worked example.
    AcceptanceMarks marks;
    const std::pair<const char*, AcceptanceClass> classes[] = {{"H001", AcceptanceClass::Beam},
                                                               {"H003", AcceptanceClass::Beam},
                                                               {"W001", AcceptanceClass::Slab},
                                                               {"P001", AcceptanceClass::Slab},
                                                               {"P003", AcceptanceClass::Slab}};
    for (const Component& c : frame.project().components()) {
        for (const auto& [code, cls] : classes) {
            if (c.code.view() == code) marks[&c] = {cls, AcceptanceSample::First};
        }
    }
    frame.session().document().setAcceptanceMarks(marks);
    settle();
    pictureDialog<CDlgAcceptance>(frame, ID_ACCEPTANCE, QStringLiteral("acceptance-dialog.png"));

    // A page of each record table's preview, every component ticked.
    const std::pair<int, const char*> previews[] = {{ID_PREVIEW_THICKNESS, "thickness"},
                                                    {ID_PREVIEW_DIAMETER, "diameter"},
                                                    {ID_PREVIEW_SPACING, "spacing"},
                                                    {ID_PREVIEW_ACCEPTANCE, "acceptance"}};
    for (const auto& [entryId, name] : previews) {
        const int id = entryId;  // clang 14 cannot capture a structured binding
        const QString picture = QStringLiteral("preview-%1.png").arg(name);
        auto preview = [picture](QPrintPreviewDialog* d) {
            d->setGeometry(QRect(QPoint(0, 0), QSize(1366, 768)));
            settle();
            save(d->grab().toImage(), picture);
            d->reject();
        };
        if (id == ID_PREVIEW_ACCEPTANCE) {
            onNextModal<QPrintPreviewDialog>(preview);
        } else {
            onNextModal<CDlgShowUploadData>([&, preview](CDlgShowUploadData* c) {
                for (int r = 0; r < c->componentList()->rowCount(); ++r) {
                    c->componentList()->setChecked(r, true);
                }
                if (id == ID_PREVIEW_THICKNESS) {
                    settle();
                    save(c->grab().toImage(), QStringLiteral("print-choose.png"));
                }
                onNextModal<QPrintPreviewDialog>(preview);
                c->accept();
            });
        }
        fire(frame, id);
    }

    pictureDialog<QPrintDialog>(frame, ID_FILE_PRINT_SETUP, QStringLiteral("print-setup.png"));
    pictureDialog<CAboutDlg>(frame, ID_APP_ABOUT, QStringLiteral("about.png"));
    return failures == 0 ? 0 : 1;
}
