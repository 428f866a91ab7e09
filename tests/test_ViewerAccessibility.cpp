// What assistive technology learns of the viewer through Qt's accessibility interfaces: the
// picture grid as a table with named cells, the skinned tool buttons, and a focus order that
// follows the window's layout. Qt reports events only while a bridge is active, so the events of
// key moves are tested by accessibility_tree.py, an AT-SPI client.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeView>

#include "app/DrawGrid.h"
#include "app/Trovelinc.h"
#include "browse/FileListView.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"

namespace trovelin {
namespace {

TBitmap glyph(int width, int height, int bitsPerPixel)
{
    TBitmap bitmap;
    bitmap.setImage(std::make_shared<DibImage>(width, height, bitsPerPixel));
    return bitmap;
}

class ViewerAccessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    ViewerAccessibility()
    {
        window.pictureGrid().resize(338, 300);
        window.FormResize();
        const auto file = std::make_shared<const std::string>("C:\\panels\\arena-rig.kvr");
        pictures.append(glyph(400, 240, 8), {file, "TImage", "Background", "Picture"});
        pictures.append(glyph(64, 16, 4), {file, "TSpeedButton", "Preset1", "Glyph"});
        for (int i = 0; i < 5; ++i) pictures.append(glyph(16, 16, 4), {file, "TMultiButton", "Scene", "Glyph"});
    }

    void activate()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

    PictureList pictures;
    PosixFileSystem fileSystem;
    testing::NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
};

TEST_F(ViewerAccessibility, TheGridIsATableOfTheRowsOfPicturesWithCellsNamedByTheirPicture)
{
    QAccessibleInterface* grid = accessible(&window.pictureGrid());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    // Seven pictures in five columns: two rows, whatever the grid holds for a full list.
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 5);
    EXPECT_EQ(grid->childCount(), 10);
    QAccessibleInterface* second = table->cellAt(0, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->role(), QAccessible::Cell);
    EXPECT_EQ(second->text(QAccessible::Name),
              "Picture 2 of 7, 64 x 16, 4 bits, Preset1.Glyph (TSpeedButton), arena-rig.kvr");
    EXPECT_EQ(grid->child(1), second);
    EXPECT_EQ(grid->indexOfChild(second), 1);
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name).left(14), "Picture 7 of 7");
    EXPECT_EQ(table->cellAt(1, 2)->text(QAccessible::Name), "");
    EXPECT_EQ(second->tableCellInterface()->rowIndex(), 0);
    EXPECT_EQ(second->tableCellInterface()->columnIndex(), 1);

    // A cell's press selects it, as a click does, and copies its picture.
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.pictureGrid().col(), 1);
    EXPECT_EQ(window.statusText(0), "64x16");

    pictures.clear();
    EXPECT_EQ(grid->childCount(), 0);
    EXPECT_FALSE(second->isValid());
}

TEST_F(ViewerAccessibility, AKeyMoveSelectsAndFocusesTheNewCell)
{
    activate();
    window.pictureGrid().setFocus();
    QAccessibleInterface* grid = accessible(&window.pictureGrid());
    QTest::keyClick(&window.pictureGrid(), Qt::Key_Down);
    QAccessibleInterface* cell = grid->child(5);  // column 0, row 1
    EXPECT_TRUE(cell->state().selected);
    EXPECT_TRUE(cell->state().focused);
    EXPECT_FALSE(grid->child(0)->state().selected);
    EXPECT_EQ(grid->focusChild(), cell);
    EXPECT_EQ(grid->tableInterface()->selectedCells(), QList<QAccessibleInterface*>{cell});
    window.fileListView().setFocus();
    EXPECT_TRUE(cell->state().selected);
    EXPECT_FALSE(cell->state().focused);
    EXPECT_EQ(grid->focusChild(), nullptr);
}

TEST_F(ViewerAccessibility, ToolButtonsAreNamedButtonsThatTheKeyboardPressesInTheVisualFocusOrder)
{
    int menusOpened = 0;
    window.popupView = [&menusOpened](int, int) { ++menusOpened; };
    activate();
    auto* driveSelector = window.leftPanel().findChild<QComboBox*>();
    ASSERT_NE(driveSelector, nullptr);
    driveSelector->setFocus();
    // The combo box's name is the drive's label, which depends on the machine.
    auto describe = [this](QWidget* widget) {
        QAccessibleInterface* shown = accessible(widget);
        const QString name = shown->role() == QAccessible::ComboBox ? QString() : shown->text(QAccessible::Name);
        return std::make_pair(shown->role(), name.toStdString());
    };
    std::vector<std::pair<QAccessible::Role, std::string>> order;
    for (int step = 0; step < 5; ++step) {
        order.push_back(describe(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (std::vector<std::pair<QAccessible::Role, std::string>>{{QAccessible::ComboBox, ""},
                                                                          {QAccessible::Button, "Up one level"},
                                                                          {QAccessible::Button, "View"},
                                                                          {QAccessible::Tree, "Files"},
                                                                          {QAccessible::Table, "Pictures"}}));

    // The view button: Space steps the view style as a click does, Alt+Down opens its menu.
    driveSelector->setFocus();
    QTest::keyClick(driveSelector, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* view = QApplication::focusWidget();
    ASSERT_EQ(describe(view).second, "View");
    EXPECT_TRUE(accessible(view)->state().hasPopup);
    const QStringList actions = accessible(view)->actionInterface()->actionNames();
    EXPECT_TRUE(actions.contains(QAccessibleActionInterface::showMenuAction()));
    const TViewStyle before = window.fileList().ViewStyle();
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_NE(window.fileList().ViewStyle(), before);
    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(menusOpened, 1);
    accessible(view)->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_EQ(menusOpened, 2);
}

}  // namespace
}  // namespace trovelin
