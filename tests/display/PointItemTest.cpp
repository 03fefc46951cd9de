// The panel's point item inside a real grid.
#include <QLineEdit>

#include "controls/GridFixture.h"
#include "dialogs/CDlgEdit.h"
#include "display/CRectItem.h"
#include "support/ModalDriver.h"

TEST_F(GridTest, APointItemEditsItselfInTheResultsDialog) {
    CRectItem diameterPoint(DetectionType::Diameter, 12, 30, 500);
    CRectItem profilePoint(DetectionType::Profile, 0, 25, 150);
    EXPECT_EQ(diameterPoint.text(), QStringLiteral("30 mm ; 12 mm"));
    EXPECT_EQ(profilePoint.text(), QStringLiteral("25 mm ; 150 mm"));
    const int id = grid->AddCustomItem(points, QStringLiteral("3"), &diameterPoint);

    for (bool confirm : {false, true}) {
        onNextModal<CDlgEdit>([confirm](CDlgEdit* dialog) {
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("检测结果"));
            EXPECT_EQ(dialog->diameterEdit()->text(), QStringLiteral("12"));
            dialog->diameterEdit()->setText(QStringLiteral("14"));
            dialog->thicknessEdit()->setText(QStringLiteral("33"));
            confirm ? dialog->accept() : dialog->reject();
        });
        doubleClick(at(id, 300));
    }
    EXPECT_EQ(changes(), QList<int>{id});
    EXPECT_EQ(diameterPoint.text(), QStringLiteral("33 mm ; 14 mm"));
    EXPECT_EQ(diameterPoint.position(), 500);
}
