// Dialogs on real Qt widgets (offscreen): every control kind gets its widget, the
// states reach the widgets, and user input reaches the states and the handlers.
#include "common/QtxFileDlg.h"
#include "platform/Dialog.h"
#include "platform/Frame.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtDialogView.h"
#include "res/DialogTemplates.h"
#include "res/Images.h"
#include "support/HostFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

#include <cstdlib>
#include <map>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

namespace {

using K = ControlKind;

enum : int {
    kNameLabel = 10, kName = 11, kCountLabel = 12, kCount = 13, kPicture = 14,
    kGroup = 20, kTri = 21, kOne = 22, kTwo = 23, kThree = 24,
    kApply = 90,
    kNotes = 30, kDrop = 31, kCombo = 32, kList = 33, kMulti = 34, kTabs = 35, kTree = 36, kBar = 37, kHiddenNote = 38,
};

const DialogTemplate kEvery{9001, "Every control",
    {{kNameLabel, K::Static, "&Name:"}, {kName, K::Edit, ""},
     {kCountLabel, K::Static, "Count:"}, {kCount, K::Edit, ""},
     {kPicture, K::Picture, "128"},
     {kGroup, K::GroupBox, "Options"},
     {kTri, K::CheckBox, "Three", kGroup, kThreeState},
     {kOne, K::RadioButton, "One", kGroup, kGroupStart}, {kTwo, K::RadioButton, "Two", kGroup},
     {kThree, K::RadioButton, "Three", kGroup},
     {kNotes, K::MultiLineEdit, ""}, {kDrop, K::DropDownList, ""}, {kCombo, K::ComboBox, ""},
     {kList, K::ListBox, ""}, {kMulti, K::MultiListBox, ""}, {kTabs, K::TabControl, ""},
     {kTree, K::Tree, ""}, {kBar, K::ProgressBar, ""}, {kHiddenNote, K::Static, "later", 0, kHidden},
     {IDOK, K::Button, "OK", 0, kDefaultButton}, {IDCANCEL, K::Button, "Cancel"}}};

const std::map<ControlKind, const char*> kWidgetOfKind{
    {K::Static, "QLabel"}, {K::Picture, "QLabel"}, {K::GroupBox, "QGroupBox"}, {K::Edit, "QLineEdit"},
    {K::MultiLineEdit, "QPlainTextEdit"}, {K::Button, "QPushButton"}, {K::CheckBox, "QCheckBox"},
    {K::RadioButton, "QRadioButton"}, {K::DropDownList, "QComboBox"}, {K::ComboBox, "QComboBox"},
    {K::ListBox, "QListWidget"}, {K::MultiListBox, "QListWidget"}, {K::TabControl, "QTabBar"},
    {K::Tree, "QTreeWidget"}, {K::ProgressBar, "QProgressBar"}};

class EveryDlg : public CDialog {
public:
    EveryDlg() : CDialog(kEvery)
    {
        for (int id : {kName, kNotes, kCombo})
            On(id, ::Notify::EditChange, [this, id] { log.emplace_back(id, ::Notify::EditChange); });
        for (int id : {kTri, kOne, kTwo, kThree})
            On(id, ::Notify::Clicked, [this, id] { log.emplace_back(id, ::Notify::Clicked); });
        for (int id : {kDrop, kCombo, kList, kMulti, kTabs, kTree})
            On(id, ::Notify::SelChange, [this, id] { log.emplace_back(id, ::Notify::SelChange); });
        for (int id : {kList, kTree})
            On(id, ::Notify::DblClick, [this, id] { log.emplace_back(id, ::Notify::DblClick); });
    }
    using CDialog::On;

    bool OnInitDialog() override
    {
        for (const char* s : {"alpha", "beta", "gamma"}) {
            Item(kDrop)->AddString(s);
            Item(kCombo)->AddString(s);
            Item(kList)->AddString(s);
            Item(kMulti)->AddString(s);
            Item(kTabs)->AddString(s);
        }
        Item(kMulti)->SetSel(0, true);
        Item(kMulti)->SetSel(2, true);
        Item(kTabs)->SetCurSel(1);
        ControlState& tree = *Item(kTree);
        root = tree.InsertNode("Tools", 0);
        child = tree.InsertNode("Sonic", 1, root);
        tree.InsertNode("Dipole", 1, root);
        tree.ExpandNode(root);
        tree.SelectNode(child);
        Item(kBar)->SetRange(-2'000'000'000, 2'000'000'000);
        Item(kBar)->SetPos(1'500'000'000);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Text(kName, name);
        dx.MaxChars(name, 8);
        dx.Text(kCount, count);
        dx.MinMax(count, 1, 10);
        dx.Check(kTri, tri);
        dx.Radio(kOne, radio);
        dx.Text(kNotes, notes);
        dx.ComboIndex(kDrop, drop);
        dx.ComboString(kCombo, combo);
        dx.ListIndex(kList, list);
    }

    std::string name = "abc", notes = "one\r\ntwo", combo = "be";
    int count = 5, tri = 2, radio = 1, drop = 1, list = 2, root = 0, child = 0;
    std::vector<std::pair<int, ::Notify>> log;
};

template <typename W = QWidget> W* Widget(QDialog* view, int id)
{
    return view ? view->findChild<W*>(QString::number(id)) : nullptr;
}

void SendKey(QWidget* to, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &press);
}

// The dialogs outlive the test body, so their widgets are closed before they go.
class QtDialogTest : public HostTest {
protected:
    QDialog* Show(CDialog& dialog, DialogLook look = {})
    {
        dialog.InitDialog(false);
        EXPECT_TRUE(ShowQtDialogModeless(dialog, look));
        return QtDialogWindow(dialog);
    }
    void TearDown() override
    {
        DestroyQtDialog(d);
        DestroyQtDialog(other);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        HostTest::TearDown();
    }
    EveryDlg d, other;
};

TEST_F(QtDialogTest, EveryControlGetsAVisibleWidgetOfItsKindLaidOutByGroup)
{
    QDialog* view = Show(d, {0x00204080, 0x000000FF});
    ASSERT_NE(view, nullptr);
    view->layout()->activate();
    for (const ControlState& c : d.Controls()) {
        QWidget* w = Widget(view, c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_TRUE(w->inherits(kWidgetOfKind.at(c.kind))) << c.id << " is a " << w->metaObject()->className();
        EXPECT_EQ(w->isVisible(), c.id != kHiddenNote) << c.id;
    }
    EXPECT_EQ(view->palette().color(QPalette::Window), QColor(0x80, 0x40, 0x20));
    EXPECT_EQ(view->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_FALSE(Widget<QComboBox>(view, kDrop)->isEditable());
    EXPECT_TRUE(Widget<QComboBox>(view, kCombo)->isEditable());
    // A multiple-selection list toggles a line on a plain click, as its template says.
    EXPECT_EQ(Widget<QListWidget>(view, kMulti)->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_FALSE(Widget<QLabel>(view, kPicture)->pixmap().isNull());
    EXPECT_TRUE(Widget<QPushButton>(view, IDOK)->isDefault());

    // A label before a field names it; group members sit inside their box.
    EXPECT_EQ(Widget<QLabel>(view, kNameLabel)->buddy(), Widget(view, kName));
    EXPECT_EQ(Widget(view, kOne)->parentWidget(), Widget(view, kGroup));
    QWidget* ok = Widget(view, IDOK);
    EXPECT_EQ(ok->y(), Widget(view, IDCANCEL)->y());
    QWidget* body = Widget(view, kBar); // what holds the controls, scrolled or not
    while (body->parentWidget() != view) body = body->parentWidget();
    EXPECT_GT(ok->y(), body->geometry().bottom());
    EXPECT_LT(ok->x(), Widget(view, IDCANCEL)->x());
}

// Texts, check boxes and the caption are in the backend contract; here the lists.
TEST_F(QtDialogTest, FilledListsReachTheWidgetsAndLaterChangesFollowOnSync)
{
    QDialog* view = Show(d);
    EXPECT_EQ(Widget<QComboBox>(view, kDrop)->currentIndex(), 1);
    auto* list = Widget<QListWidget>(view, kList);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 2);
    auto* multi = Widget<QListWidget>(view, kMulti);
    EXPECT_EQ((std::vector<bool>{multi->item(0)->isSelected(), multi->item(1)->isSelected(), multi->item(2)->isSelected()}),
              (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Widget<QTabBar>(view, kTabs)->currentIndex(), 1);
    auto* tree = Widget<QTreeWidget>(view, kTree);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* tools = tree->topLevelItem(0);
    ASSERT_EQ(tools->childCount(), 2);
    EXPECT_EQ(tools->child(1)->text(0), "Dipole");
    EXPECT_TRUE(tools->isExpanded());
    EXPECT_EQ(tree->currentItem(), tools->child(0));
    auto* bar = Widget<QProgressBar>(view, kBar);
    EXPECT_EQ(bar->minimum(), -2'000'000'000);
    EXPECT_EQ(bar->value(), 1'500'000'000);

    d.Item(kList)->DeleteString(0);
    d.Item(kHiddenNote)->Show(true);
    d.EnableItem(kCount, false);
    d.Item(kTree)->InsertNode("Quad", 2, d.child);
    d.SetCaption("");
    SyncQtDialog(d);
    EXPECT_EQ(list->count(), 2);
    EXPECT_FALSE(Widget(view, kHiddenNote)->isHidden());
    EXPECT_FALSE(Widget(view, kCount)->isEnabled());
    ASSERT_EQ(tree->topLevelItem(0)->child(0)->childCount(), 1);
    EXPECT_EQ(view->windowTitle(), QString::fromStdString(DefaultCaption()));
    // A renamed node keeps its item: the tree is not rebuilt under the user.
    QTreeWidgetItem* sonic = tree->topLevelItem(0)->child(0);
    d.Item(kTree)->SetNodeText(d.child, "Sonic, corrected");
    SyncQtDialog(d);
    EXPECT_EQ(tree->topLevelItem(0)->child(0), sonic);
    EXPECT_EQ(sonic->text(0), "Sonic, corrected");
    // A line longer than the tree is wide widens it: no text hides behind a sideways bar.
    d.Item(kTree)->SetNodeText(d.child, "WAVE  .001     Depth:2459.5 - 2253.5 @0.5000 F, a line longer than the tree is");
    SyncQtDialog(d);
    QApplication::processEvents();
    EXPECT_LE(tree->header()->sectionSize(0), tree->viewport()->width()) << "the longest line against the tree";
    EXPECT_FALSE(tree->horizontalScrollBar()->isVisible());
}

TEST_F(QtDialogTest, UserInputChangesTheStatesAndRunsTheHandlers)
{
    QDialog* view = Show(d);
    using Log = std::vector<std::pair<int, Notify>>;

    auto* tri = Widget<QCheckBox>(view, kTri);
    for (int expected : {0, 1, 2}) {
        tri->click();
        EXPECT_EQ(d.Item(kTri)->Check(), expected);
        const Qt::CheckState shown[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
        EXPECT_EQ(tri->checkState(), shown[expected]);
    }

    Widget<QComboBox>(view, kDrop)->setCurrentIndex(2);
    EXPECT_EQ(d.Item(kDrop)->CurSel(), 2);
    EXPECT_EQ(d.GetItemText(kDrop), "gamma");

    Widget<QComboBox>(view, kCombo)->setCurrentIndex(0);
    EXPECT_EQ(d.GetItemText(kCombo), "alpha");

    auto* list = Widget<QListWidget>(view, kList);
    list->setCurrentRow(0);
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(d.Item(kList)->CurSel(), 1);

    auto* multi = Widget<QListWidget>(view, kMulti);
    multi->item(1)->setSelected(true);
    EXPECT_EQ(d.Item(kMulti)->SelItems(), (std::vector<int>{0, 1, 2}));

    Widget<QTabBar>(view, kTabs)->setCurrentIndex(2);
    EXPECT_EQ(d.Item(kTabs)->CurSel(), 2);

    auto* tree = Widget<QTreeWidget>(view, kTree);
    QTreeWidgetItem* tools = tree->topLevelItem(0);
    tree->setCurrentItem(tools->child(1));
    EXPECT_EQ(d.Item(kTree)->SelectedNode(), d.Item(kTree)->FindNode("Dipole"));
    emit tree->itemDoubleClicked(tools, 0);
    EXPECT_EQ(d.Item(kTree)->SelectedNode(), d.root);
    tree->collapseItem(tools);
    EXPECT_FALSE(d.Item(kTree)->Node(d.root)->expanded);

    const Log expected{{kTri, Notify::Clicked}, {kTri, Notify::Clicked}, {kTri, Notify::Clicked},
                       {kDrop, Notify::SelChange}, {kCombo, Notify::SelChange},
                       {kList, Notify::SelChange}, {kList, Notify::SelChange}, {kList, Notify::DblClick},
                       {kMulti, Notify::SelChange}, {kTabs, Notify::SelChange}, {kTree, Notify::SelChange},
                       {kTree, Notify::SelChange}, {kTree, Notify::DblClick}};
    EXPECT_EQ(d.log, expected);
}

TEST_F(QtDialogTest, HandlerChangesShowAtOnceAndTheCloseBoxStaysOpenWhenCancelDoesNotEnd)
{
    int cancels = 0;
    d.On(IDCANCEL, Notify::Clicked, [&cancels] { ++cancels; });
    d.On(kTri, Notify::Clicked, [this] {
        d.EnableItem(kCount, false);
        d.SetItemText(kNameLabel, "Renamed:");
        d.Item(kHiddenNote)->Show(true);
    });
    QDialog* view = Show(d);
    Widget<QCheckBox>(view, kTri)->click();
    EXPECT_FALSE(Widget(view, kCount)->isEnabled());
    EXPECT_EQ(Widget<QLabel>(view, kNameLabel)->text(), "Renamed:");
    EXPECT_FALSE(Widget(view, kHiddenNote)->isHidden());
    EXPECT_FALSE(view->close());
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(QtDialogTest, EnterRespectsADisabledDefaultButtonAndEscapeCancels)
{
    QDialog* view = Show(d);
    d.EnableItem(IDOK, false);
    SyncQtDialog(d);
    SendKey(Widget(view, kName), Qt::Key_Return); // reaches the dialog through the edit
    EXPECT_FALSE(d.Ended());
    d.EnableItem(IDOK, true);
    SyncQtDialog(d);
    Widget<QLineEdit>(view, kName)->end(false);
    Widget<QLineEdit>(view, kName)->insert("saved");
    SendKey(Widget(view, kName), Qt::Key_Return);
    EXPECT_TRUE(d.Ended());
    EXPECT_EQ(d.EndCode(), IDOK);
    EXPECT_EQ(d.name, "abcsaved");
    EXPECT_TRUE(view->isHidden());

    QDialog* second = Show(other);
    SendKey(second, Qt::Key_Escape);
    EXPECT_EQ(other.EndCode(), IDCANCEL);
}

TEST_F(QtDialogTest, CentredDialogSitsOverItsParentOrTheScreenAndStaysOnTheScreen)
{
    d.InitDialog(false);
    d.CenterWindow();
    ASSERT_TRUE(ShowQtDialogModeless(d, {}));
    QDialog* view = QtDialogWindow(d);
    const QWidget* over = view->parentWidget() ? view->parentWidget()->window() : nullptr;
    const QRect screen = view->screen()->availableGeometry();
    const QRect area = over && over->isVisible() ? over->frameGeometry() : screen;
    const QRect frame = view->frameGeometry();
    // Centred along each axis, unless that would put part of it off the screen: then
    // it stands at the screen's edge, its title and top rows on the screen in any case.
    EXPECT_TRUE(screen.contains(frame.topLeft()));
    const auto placed = [](int centre, int wanted, int low, int high, int first, int last) {
        return std::abs(centre - wanted) <= 2 || first == low || last == high;
    };
    EXPECT_TRUE(placed(frame.center().x(), area.center().x(), screen.left(), screen.right(), frame.left(), frame.right()));
    EXPECT_TRUE(placed(frame.center().y(), area.center().y(), screen.top(), screen.bottom(), frame.top(), frame.bottom()));
    if (frame.width() <= screen.width() && frame.height() <= screen.height()) {
        EXPECT_TRUE(screen.contains(frame));
    }
}

// A template of `groups` group boxes of `fields` labelled edits each (a multi-line
// edit first where `notes`), its buttons in the first group or the dialog's own row,
// with `more` buttons after them.
DialogTemplate TallTemplate(int groups, int fields, bool notes, bool buttonsInGroup, int more)
{
    DialogTemplate t{9100, "Tall", {}};
    int id = 100;
    for (int g = 0; g < groups; ++g) {
        const int box = id++;
        t.controls.push_back({box, K::GroupBox, "Group " + std::to_string(g)});
        if (notes) t.controls.push_back({id++, K::MultiLineEdit, "", box});
        for (int f = 0; f < fields; ++f) {
            t.controls.push_back({id++, K::Static, "Field " + std::to_string(f) + ":", box});
            t.controls.push_back({id++, K::Edit, "", box});
        }
    }
    const int owner = buttonsInGroup ? 100 : 0;
    for (auto [button, text] : std::initializer_list<std::pair<int, const char*>>{{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {kApply, "Apply"}})
        t.controls.push_back({button, K::Button, text, owner});
    for (int k = 0; k < more; ++k) t.controls.push_back({200 + k, K::Button, "Another Button " + std::to_string(k), owner});
    return t;
}

TEST_F(QtDialogTest, ADialogTallerThanTheScreenFitsItAndItsButtonsStayInSight)
{
    struct Case {
        const char* what;
        int groups, fields;
        bool notes, buttonsInGroup;
        int more = 0;
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int rows = screen.height() / 10; // far more than fit even in two columns
    for (const Case& c : {Case{"one long group", 1, rows, false, false}, Case{"many groups", 6, rows / 6, false, false},
                          Case{"groups of notes", 4, 2, true, false}, Case{"buttons in a group", 1, rows, false, true},
                          Case{"a row of buttons wider than the screen", 1, rows, false, false, 12}}) {
        const DialogTemplate tall = TallTemplate(c.groups, c.fields, c.notes, c.buttonsInGroup, c.more);
        CDialog dialog(tall);
        dialog.InitDialog(false);
        dialog.CenterWindow();
        ASSERT_TRUE(ShowQtDialogModeless(dialog, {}));
        QDialog* view = QtDialogWindow(dialog);
        QApplication::processEvents();
        EXPECT_TRUE(screen.contains(view->frameGeometry())) << c.what;
        auto* scroll = view->findChild<QScrollArea*>();
        ASSERT_NE(scroll, nullptr) << c.what;
        // Only the height scrolls: the width fits.
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << c.what;
        std::vector<int> buttons{IDOK, IDCANCEL, kApply};
        for (int k = 0; k < c.more; ++k) buttons.push_back(200 + k);
        for (int button : buttons) {
            QWidget* w = Widget(view, button);
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(w->isVisible()) << c.what;
            if (!c.buttonsInGroup) {
                EXPECT_TRUE(view->rect().contains(QRect(w->mapTo(view, QPoint(0, 0)), w->size()))) << c.what;
            }
            EXPECT_EQ(scroll->isAncestorOf(w), c.buttonsInGroup) << c.what << ": button " << button;
        }
        // The last field comes into sight by scrolling, and so does one given the focus.
        const auto inSight = [&](int id) {
            QWidget* w = Widget(view, id);
            return scroll->viewport()->rect().contains(QRect(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size()));
        };
        const int last = tall.controls[tall.controls.size() - 4 - size_t(c.more)].id;
        EXPECT_FALSE(inSight(last)) << c.what;
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        EXPECT_TRUE(inSight(last)) << c.what;
        scroll->verticalScrollBar()->setValue(0);
        dialog.SetFocus(last);
        SyncQtDialog(dialog);
        EXPECT_TRUE(inSight(last)) << c.what;
        DestroyQtDialog(dialog);
    }
}

TEST_F(QtDialogTest, ControlsShownLaterScrollRatherThanGrowTheDialogOffTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const DialogTemplate tall = TallTemplate(1, screen.height() / 10, false, false, 0); // the dialog keeps it
    CDialog dialog(tall);
    const auto showFields = [&](bool show) {
        for (ControlState& c : dialog.Controls())
            if (c.kind == K::Static || c.kind == K::Edit) c.Show(show);
    };
    dialog.InitDialog(false);
    showFields(false);
    ASSERT_TRUE(ShowQtDialogModeless(dialog, {}));
    QDialog* view = QtDialogWindow(dialog);
    EXPECT_EQ(view->findChild<QScrollArea*>(), nullptr);
    showFields(true);
    SyncQtDialog(dialog);
    QApplication::processEvents();
    EXPECT_LE(view->height(), screen.height());
    EXPECT_NE(view->findChild<QScrollArea*>(), nullptr);
    QWidget* ok = Widget(view, IDOK);
    EXPECT_TRUE(view->rect().contains(QRect(ok->mapTo(view, QPoint(0, 0)), ok->size())));
    DestroyQtDialog(dialog);
}

TEST_F(QtDialogTest, AFoldedDialogsColumnsKeepTheirOwnRowHeights)
{
    // Groups of 2, 2, 12 and 2 fields: too tall for one column, they fold, and the
    // short groups beside the tall one keep their own height.
    DialogTemplate t{9101, "Folded", {}};
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int tall = screen.height() / 50;
    int id = 100;
    std::vector<int> boxes;
    for (int fields : {2, 2, tall, 2}) {
        boxes.push_back(id);
        t.controls.push_back({id++, K::GroupBox, "Group"});
        for (int f = 0; f < fields; ++f) {
            t.controls.push_back({id++, K::Static, "Field:", boxes.back()});
            t.controls.push_back({id++, K::Edit, "", boxes.back()});
        }
    }
    t.controls.push_back({IDOK, K::Button, "OK"});
    CDialog dialog(t);
    QDialog* view = Show(dialog);
    QApplication::processEvents();
    EXPECT_EQ(view->findChild<QScrollArea*>(), nullptr);
    EXPECT_TRUE(screen.contains(view->frameGeometry()));
    std::vector<QWidget*> group;
    for (int box : boxes) group.push_back(Widget(view, box));
    EXPECT_EQ(group[0]->x(), group[1]->x());
    EXPECT_GT(group[2]->x(), group[0]->geometry().right()); // the tall one starts the second column
    EXPECT_EQ(group[2]->x(), group[3]->x());
    for (QWidget* g : group) EXPECT_EQ(g->height(), g->sizeHint().height()) << g->objectName().toStdString();
    DestroyQtDialog(dialog);
}

TEST_F(QtDialogTest, ALongRunOfNumberedFieldsGoesTwoToARow)
{
    // Short labels only, and only a long run: a few numbered fields or long labels stay one to a row.
    for (auto [pairs, label, twoToARow] : {std::tuple{10, "#", true}, {7, "#", false}, {10, "Interval #", false}}) {
        DialogTemplate t{9102, "Numbered", {{99, K::CheckBox, "A check box as wide as the group"}}};
        for (int k = 0; k < pairs; ++k) {
            t.controls.push_back({100 + 2 * k, K::Static, label + std::to_string(k + 1) + " :"});
            t.controls.push_back({101 + 2 * k, K::Edit, ""});
        }
        t.controls.push_back({IDOK, K::Button, "OK"});
        CDialog dialog(t);
        QDialog* view = Show(dialog);
        QApplication::processEvents();
        const auto field = [&](int k) { return Widget(view, 101 + 2 * k)->geometry(); };
        const int down = twoToARow ? (pairs + 1) / 2 : pairs;
        for (int k = 1; k < pairs; ++k) {
            if (k % down) {
                EXPECT_GT(field(k).top(), field(k - 1).bottom()) << pairs << label << k; // on down the column
            } else {
                EXPECT_EQ(field(k).top(), field(0).top()) << pairs << label << k; // the next column
                EXPECT_GT(field(k).left(), field(0).right()) << pairs << label << k;
            }
        }
        EXPECT_EQ(Widget<QLabel>(view, 100 + 2 * (pairs - 1))->buddy(), Widget(view, 101 + 2 * (pairs - 1)));
        EXPECT_GE(Widget(view, 99)->geometry().right(), field(pairs - 1).left()) << "a whole row spans both pairs";
        DestroyQtDialog(dialog);
    }
}

TEST_F(QtDialogTest, ModalRunStaysOpenUntilTheExchangeSucceeds)
{
    host.ExpectMessage("Please enter an integer between 1 and 10.");
    d.InitDialog(true);
    bool stayedOpen = false, failedFieldSelected = false;
    QTimer::singleShot(0, [&] {
        QDialog* view = QtDialogWindow(d);
        auto* count = Widget<QLineEdit>(view, kCount);
        count->selectAll();
        count->insert("99");
        Widget<QPushButton>(view, IDOK)->click();
        stayedOpen = view->isVisible() && !d.Ended();
        failedFieldSelected = d.Focus() == kCount && count->selectedText() == "99";
        count->selectAll();
        count->insert("7");
        Widget<QPushButton>(view, IDOK)->click();
    });
    EXPECT_EQ(RunQtDialogModal(d, {}), IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(failedFieldSelected);
    EXPECT_EQ(d.count, 7);
    EXPECT_EQ(QtDialogWindow(d), nullptr);
}

TEST_F(QtDialogTest, NestedModalRunsInsideAHandlerAndEarlyEndSkipsShowing)
{
    EveryDlg outer, inner;
    int innerCode = 0;
    outer.On(kTri, Notify::Clicked, [&] {
        inner.InitDialog(true);
        QTimer::singleShot(0, [&] { QtDialogWindow(inner)->close(); }); // the close box
        innerCode = RunQtDialogModal(inner, {});
        outer.EndDialog(42);
    });
    outer.InitDialog(true);
    QTimer::singleShot(0, [&] { Widget<QCheckBox>(QtDialogWindow(outer), kTri)->click(); });
    EXPECT_EQ(RunQtDialogModal(outer, {}), 42);
    EXPECT_EQ(innerCode, IDCANCEL);

    EveryDlg early;
    early.InitDialog(true);
    early.EndDialog(7);
    EXPECT_EQ(RunQtDialogModal(early, {}), 7);
}

TEST_F(QtDialogTest, EveryTemplateShowsEachControlAsAVisibleWidgetAndKeepsItsSize)
{
    SetImageDrawers(DrawButtonImage, DrawProgramImage);
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    for (int id : DialogTemplateIds()) {
        CDialog dialog(DialogTemplateFor(id));
        QDialog* view = Show(dialog);
        ASSERT_NE(view, nullptr) << id;
        view->layout()->activate();
        int longLine = 0, pathLine = 0; // a one-line static, one meant for paths, to put paths in
        for (const ControlState& c : dialog.Controls()) {
            QWidget* w = Widget(view, c.id);
            ASSERT_NE(w, nullptr) << id << "/" << c.id;
            if (c.style & kHidden) continue;
            EXPECT_TRUE(w->isVisible() && w->width() > 0 && w->height() > 0) << id << "/" << c.id << " not in sight";
            if (c.kind == K::Static) {
                EXPECT_FALSE(static_cast<QLabel*>(w)->text().contains(QChar(0x2026))) << id << "/" << c.id << " cut short";
            }
            if (c.kind == K::Picture) {
                EXPECT_EQ(static_cast<QLabel*>(w)->pixmap().width(), 64) << id << ": the program's picture";
            }
            if (c.kind == K::Static && !longLine && c.Text().find('\n') == std::string::npos) longLine = c.id;
            if ((c.style & kPathEllipsis) && !pathLine) pathLine = c.id;
        }
        if (DialogTemplateFor(id).style & kDialogNoCaption) {
            EXPECT_TRUE(view->windowFlags() & Qt::FramelessWindowHint) << id;
        } else {
            EXPECT_GE(view->width(), QFontMetrics(titleFont).horizontalAdvance(view->windowTitle())) << id;
        }
        EXPECT_EQ(view->minimumSize(), view->maximumSize()) << id << ": no frame to stretch it with";
        const QSize room = view->screen()->availableGeometry().size();
        EXPECT_TRUE(view->width() <= room.width() && view->height() <= room.height()) << id << ": fits the screen";
        if (const int line = pathLine ? pathLine : longLine) {
            // Neither the dialog nor any other control moves or changes size, whatever the path.
            const auto geometries = [&] {
                std::vector<std::pair<QString, QRect>> out;
                QList<QWidget*> widgets = view->findChildren<QWidget*>();
                for (const QWidget* w : widgets << view)
                    if (w != Widget(view, line)) out.emplace_back(w->objectName(), w->geometry());
                return out;
            };
            const auto before = geometries();
            for (const std::string& path : {"/data/" + std::string(300, 'x') + "/well.qtx", std::string("/data/well.qtx")}) {
                dialog.SetItemText(line, "Primary File : " + path);
                SyncQtDialog(dialog);
                QApplication::processEvents();
                EXPECT_EQ(geometries(), before) << id << ": a path of " << path.size();
            }
            if (pathLine) {
                EXPECT_EQ(Widget<QLabel>(view, pathLine)->text(), "Primary File : /data/well.qtx") << id << ": whole";
            }
        }
        DestroyQtDialog(dialog);
    }

    // The selection dialog fills its tab strip while hidden: all six tabs show whole.
    CQtxFileDlg selection;
    QDialog* view = Show(selection);
    auto* tabs = Widget<QTabBar>(view, CQtxFileDlg::kIdcTab);
    ASSERT_NE(tabs, nullptr);
    view->layout()->activate();
    ASSERT_EQ(tabs->count(), 6);
    EXPECT_TRUE(tabs->isVisible());
    EXPECT_LE(tabs->tabRect(5).right(), tabs->width());
    EXPECT_GE(tabs->height(), tabs->tabRect(0).height());
    DestroyQtDialog(selection);
}

} // namespace
