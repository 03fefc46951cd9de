#include "dialogs/CDlgEdit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "controls/EntryWarning.h"
#include "dialogs/OkCancelButtons.h"
#include "model/IntegerEntry.h"

CDlgEdit::CDlgEdit(DetectionType pointType, std::int32_t diameter, std::int32_t thickness,
                   std::int32_t position, QWidget* parent)
    : QDialog(parent), diameter_(diameter), thickness_(thickness), position_(position) {
    setWindowTitle(QStringLiteral("检测结果"));

    auto* grid = new QGridLayout(this);
    auto addRow = [this, grid](int row, const char* label, const char* objectName,
                               std::int32_t value) {
        auto* edit = new QLineEdit(QString::number(value), this);
        edit->setObjectName(QString::fromLatin1(objectName));
        edit->setFixedWidth(65);
        auto* caption = new QLabel(QString::fromUtf8(label), this);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    diameterEdit_ = addRow(0, "直径", "edit1009", diameter);
    thicknessEdit_ = addRow(1, "保护层厚度", "edit1010", thickness);
    positionEdit_ = addRow(2, "配筋间距", "edit1011", position);
    grid->addWidget(makeOkCancelButtons(this), 3, 0, 1, 2);

    // Whatever were typed into the unused value would be dropped by the caller.
    const DetectionTypeTraits* traits = traitsOf(pointType);
    QLineEdit* unused = traits && traits->diameters ? positionEdit_ : diameterEdit_;
    unused->setReadOnly(true);
    (unused == diameterEdit_ ? thicknessEdit_ : diameterEdit_)->setFocus();
    setFixedSize(sizeHint());
}

void CDlgEdit::accept() {
    struct Entry {
        QLineEdit* edit;
        IntegerRange range;
        std::int32_t value;
    };
    Entry entries[] = {{diameterEdit_, pointDiameterRange, diameter_},
                       {thicknessEdit_, pointThicknessRange, thickness_},
                       {positionEdit_, pointPositionRange, position_}};
    for (Entry& e : entries) {
        if (e.edit->isReadOnly() || e.edit->text() == QString::number(e.value)) continue;
        const Result<std::int32_t> parsed =
            parseWholeInteger(e.edit->text().toStdString(), e.range);
        if (!parsed) {
            showEntryWarning(this, QString::fromStdString(parsed.message()));
            e.edit->setFocus();
            e.edit->selectAll();
            return;
        }
        e.value = parsed.value();
    }
    diameter_ = entries[0].value;
    thickness_ = entries[1].value;
    position_ = entries[2].value;
    QDialog::accept();
}
