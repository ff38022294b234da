// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "Announcements.h"
#include "Appearance.h"
#include "SearchListWidgets.h"
#include "UndoKeys.h"

#include "app/ErrorTrap.h"
#include "app/Main.h"
#include "catalogue/LocationCatalogue.h"
#include "platform/base/Failure.h"
#include "platform/base/Twips.h"
#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/look/Accessibility.h"
#include "platform/look/Contrast.h"
#include "platform/look/CursorFile.h"
#include "platform/look/DefaultFont.h"
#include "platform/look/FontFallback.h"
#include "platform/look/ScreenFit.h"
#include "platform/look/SkinFramework.h"
#include "platform/look/SteadyCursor.h"
#include "platform/look/WindowPlacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <limits>
#include <utility>

namespace {

const QString kCursorFile = QStringLiteral("HAND-M.CUR");
const QString kListToolTip = QStringLiteral("Double-click item to open in InterNet Explorer");
const QChar kEllipsis = u'\u2026';

// A text shown as it is in a menu, where "&" would mark the next letter as the entry's key.
QString menuText(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// A menu entry's text: the command, naming what it works on, and the keys that do the same at its right.
QString entryText(const QString& command, const QString& step, const QKeySequence& keys)
{
    return menuText(step.isEmpty() ? command : command + QLatin1Char(' ') + step) + QLatin1Char('\t') +
           keys.toString(QKeySequence::NativeText);
}

QFont arialBold(qreal pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Bold);
    return font;
}

// Whites out a control's own background (the window, its group boxes) or a button's face, with text that stays
// dark on it under a dark desktop theme.
void paintWhite(QWidget* widget, QPalette::ColorRole role = QPalette::Window)
{
    fixBackground(*widget, role, Qt::white);
    widget->setAutoFillBackground(role == QPalette::Window);
}

template <typename Control, typename... Arguments>
Control* place(const char* name, QWidget* container, const QRect& geometry, Arguments&&... arguments)
{
    auto* control = new Control(std::forward<Arguments>(arguments)..., container);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// A screen reader names each control by the words a sighted user reads for it: the filter box by its label, the
// search box by its group box, each list by its one visible column. Qt would name a control inside a group box,
// the inner group box too, after the outer group box's title.
void nameForScreenReaders(Form1& window)
{
    for (QGroupBox* frame : {window.Frame2, window.Frame1})
        frame->setAccessibleName(frame->title());
    window.Label1->setBuddy(window.Text1);
    window.Text1->setAccessibleName(QStringLiteral("Filter Locations"));
    window.txtSearch->setAccessibleName(window.Frame1->title());
    window.ListView1->setAccessibleName(QStringLiteral("Locations"));
    window.ListView2->setAccessibleName(QStringLiteral("Searches"));
}

// A mouse move counts for a container only over its own surface, not when a child passed it on.
bool isOverOwnSurface(const QWidget* widget, const QMouseEvent* event)
{
    return widget->childAt(event->position().toPoint()) == nullptr;
}

} // namespace

Form1::Form1(Environment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_environment(std::move(environment))
{
    presentPlainWindowsAsFrames();
    useArialStandIns(arialBold(9));
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFixedSize(twipsToPixels(8040), twipsToPixels(9780));
    setFont(arialBold(9));
    paintWhite(this);
    setMouseTracking(true);
    createControls();
    new ScreenFit(*this);
    nameForScreenReaders(*this);
    setTabOrder();
    m_searchListWidgets = std::make_unique<SearchListWidgets>(*txtSearch, *ListView1, *ListView2);
    m_searchList =
        std::make_unique<SearchListCommands>(*this, m_searchListWidgets->searchBox, m_searchListWidgets->locations(),
                                             m_searchListWidgets->searches(), m_environment);
    m_townGroups = std::make_unique<TownGroupCommands>(
        *this, m_searchListWidgets->locations(), m_environment,
        [this](const QString& key, const QString& value) { m_searchList->storeBesideTheList(key, value); });
    createUndoCommands();
    createSearchListMenu();
    createLocationListMenu();
    connectEvents();
    Text1->setFocus();
    // Placed before the start-up runs, so a report shown during it stands where the window will.
    centreOnScreen(*this);
    Form_Load();
    announceListChanges(*this); // from here on, what the start-up loaded is no news
}

Form1::~Form1() = default;

void Form1::createControls()
{
    Frame2 =
        place<QGroupBox>("Frame2", this, twipsRect(120, 120, 7800, 5115), QStringLiteral("Create New Bazaarly Search"));
    Frame1 =
        place<QGroupBox>("Frame1", Frame2, twipsRect(240, 3600, 7320, 825), QStringLiteral("Search For This Text"));
    {
        const ScopedDefaultFont windowFont(font()); // the text boxes load no font the window does not show
        txtSearch = place<QLineEdit>("txtSearch", Frame1, twipsRect(240, 300, 6840, 345));
        Text1 = place<QLineEdit>("Text1", Frame2, twipsRect(1680, 300, 5865, 345));
    }
    followDesktopFont(*this);
    ListView1 = place<ListView>("ListView1", Frame2, twipsRect(240, 750, 7320, 2820));
    PushButton7 =
        place<PushButton>("PushButton7", Frame2, twipsRect(240, 4560, 7320, 405), QStringLiteral("Add Search"));
    Label1 = place<QLabel>("Label1", Frame2, twipsRect(240, 330, 1350, 225), QStringLiteral("Filter Locations:"));
    ListView2 = place<ListView>("ListView2", this, twipsRect(120, 5340, 7800, 2820));
    PushButton2 =
        place<PushButton>("PushButton2", this, twipsRect(120, 8250, 3840, 405), QStringLiteral("Open Selected"));
    PushButton6 = place<PushButton>("PushButton6", this, twipsRect(4080, 8250, 3840, 405), QStringLiteral("Open All"));
    PushButton3 = place<PushButton>("PushButton3", this, twipsRect(4080, 8760, 3840, 405), QStringLiteral("Clear All"));
    PushButton4 = place<PushButton>("PushButton4", this, twipsRect(120, 8760, 3840, 405),
                                    QStringLiteral("Delete Selected Search From List"));
    PushButton5 = place<PushButton>("PushButton5", this, twipsRect(120, 9270, 7800, 405),
                                    QStringLiteral("Load Example/Sample Searches"));
    SkinFramework1 = new SkinFramework(this);
    SkinFramework1->setObjectName(QStringLiteral("SkinFramework1"));

    for (QGroupBox* frame : {Frame2, Frame1}) {
        paintWhite(frame);
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }
    for (QLineEdit* box : {txtSearch, Text1})
        box->setMaxLength(std::numeric_limits<int>::max()); // no limit on what is typed
    Label1->adjustSize();                                   // sized to its caption
    for (ListView* list : {ListView1, ListView2})
        list->setFont(arialBold(9));
    ListView1->allowSeveralSelected(); // one search text for many towns in one Add Search
    ListView2->allowSeveralSelected(); // several searches opened, copied or deleted at once
    ListView2->installEventFilter(this);
    ListView2->setToolTip(kListToolTip);
    for (PushButton* button : {PushButton7, PushButton2, PushButton6, PushButton3, PushButton4, PushButton5}) {
        button->setFont(arialBold(11.25));
        paintWhite(button, QPalette::Button);
    }
}

void Form1::createUndoCommands()
{
    m_undo = new QAction(this);
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    connect(m_undo, &QAction::triggered, this, &Form1::mnuUndo_Click);
    m_redo = new QAction(this);
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    connect(m_redo, &QAction::triggered, this, &Form1::mnuRedo_Click);
}

void Form1::createSearchListMenu()
{
    mnuSearch = new QMenu(this);
    mnuSearch->setObjectName(QStringLiteral("mnuSearch"));
    m_queryCommands = {
        mnuSearch->addAction(QStringLiteral("Open"), this, &Form1::PushButton2_Click),
        mnuSearch->addAction(QStringLiteral("Copy"), this, &Form1::mnuCopy_Click),
        mnuSearch->addAction(QStringLiteral("Copy Address"), this, &Form1::mnuCopyAddress_Click),
        mnuSearch->addAction(QStringLiteral("Delete"), this, &Form1::PushButton4_Click),
    };
    mnuSearch->addSeparator();
    mnuSearch->addActions({m_undo, m_redo});
    mnuSearch->addSeparator();
    m_saveSearchesAs =
        mnuSearch->addAction(QStringLiteral("Save Searches As") + kEllipsis, this, &Form1::mnuSaveSearchesAs_Click);
    mnuSearch->addAction(QStringLiteral("Add Searches From File") + kEllipsis, this,
                         &Form1::mnuAddSearchesFromFile_Click);
    m_bringBack = mnuSearch->addAction(QStringLiteral("Bring Back Cleared Searches"), this, &Form1::mnuBringBack_Click);
    mnuSearch->addSeparator();
    createSearchWithMenu();
    ListView2->setContextMenuPolicy(Qt::CustomContextMenu);
}

void Form1::createLocationListMenu()
{
    mnuLocations = new QMenu(this);
    mnuLocations->setObjectName(QStringLiteral("mnuLocations"));
    mnuSelectTowns = mnuLocations->addMenu(QStringLiteral("Select Towns"));
    mnuSelectTowns->setObjectName(QStringLiteral("mnuSelectTowns"));
    m_rememberTowns = mnuLocations->addAction(QStringLiteral("Remember These Towns") + kEllipsis, this,
                                              &Form1::mnuRememberTowns_Click);
    mnuForgetTowns = mnuLocations->addMenu(QStringLiteral("Forget Towns"));
    mnuForgetTowns->setObjectName(QStringLiteral("mnuForgetTowns"));
    mnuLocations->addSeparator();
    mnuLocations->addActions({m_undo, m_redo});
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void Form1::createSearchWithMenu()
{
    mnuSearchWith = mnuSearch->addMenu(QStringLiteral("Search With"));
    mnuSearchWith->setObjectName(QStringLiteral("mnuSearchWith"));
    auto* engines = new QActionGroup(mnuSearchWith);
    for (const SearchEngine engine : kSearchEngines) {
        QAction* choice = engines->addAction(searchEngineName(engine));
        choice->setCheckable(true);
        choice->setData(QVariant::fromValue(static_cast<int>(engine)));
        connect(choice, &QAction::triggered, this, [this, engine] { mnuSearchWith_Click(engine); });
        mnuSearchWith->addAction(choice);
    }
    // The engine is read from the store when first needed, at the latest when the menu opens.
    connect(mnuSearchWith, &QMenu::aboutToShow, this, [this] {
        const int chosen = static_cast<int>(m_searchList->searchEngine());
        for (QAction* choice : mnuSearchWith->actions())
            choice->setChecked(choice->data().toInt() == chosen);
    });
}

void Form1::setTabOrder()
{
    const QList<QWidget*> order = {Text1,       ListView2,   PushButton2, PushButton6, PushButton3,
                                   PushButton4, PushButton5, ListView1,   txtSearch,   PushButton7};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form1::connectEvents()
{
    m_filterReportDelay.setSingleShot(true);
    m_filterReportDelay.setInterval(QApplication::keyboardInputInterval());
    connect(&m_filterReportDelay, &QTimer::timeout, this, &Form1::showFilterReports);
    // The location list is rebuilt for the text the filter box holds when the program gets to it: keys typed
    // while a rebuild runs are taken together, and the last rebuild reads the box's final text.
    m_filterRebuild.setObjectName(QStringLiteral("filterRebuild"));
    m_filterRebuild.setSingleShot(true);
    m_filterRebuild.setInterval(0);
    connect(Text1, &QLineEdit::textChanged, &m_filterRebuild, qOverload<>(&QTimer::start));
    connect(&m_filterRebuild, &QTimer::timeout, this, &Form1::Text1_Change);
    new SteadyCursorForLongText({Text1, txtSearch}, this);
    connect(PushButton7, &PushButton::clicked, this, &Form1::PushButton7_Click);
    connect(PushButton2, &PushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton6, &PushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton3, &PushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton4, &PushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &PushButton::clicked, this, &Form1::PushButton5_Click);
    connect(ListView1, &ListView::doubleClicked, this, &Form1::ListView1_DblClick);
    connect(ListView2, &ListView::doubleClicked, this, &Form1::ListView2_DblClick);
    connect(ListView1, &ListView::customContextMenuRequested, this, &Form1::ListView1_ContextMenu);
    connect(ListView2, &ListView::customContextMenuRequested, this, &Form1::ListView2_ContextMenu);
    new UndoKeys(
        *this, {txtSearch, Text1}, [this] { m_searchList->undo(); }, [this] { m_searchList->redo(); });

    connect(ListView1, &ListView::mouseMoved, this, &Form1::ListView1_MouseMove);
    connect(ListView2, &ListView::mouseMoved, this, &Form1::ListView2_MouseMove);
    connect(PushButton7, &PushButton::mouseMoved, this, &Form1::PushButton7_MouseMove);
    connect(PushButton2, &PushButton::mouseMoved, this, &Form1::PushButton2_MouseMove);
    connect(PushButton6, &PushButton::mouseMoved, this, &Form1::PushButton6_MouseMove);
    connect(PushButton3, &PushButton::mouseMoved, this, &Form1::PushButton3_MouseMove);
    connect(PushButton4, &PushButton::mouseMoved, this, &Form1::PushButton4_MouseMove);
    connect(PushButton5, &PushButton::mouseMoved, this, &Form1::PushButton5_MouseMove);
}

void Form1::showCentred()
{
    ::showCentred(*this);
}

void Form1::bringToFront()
{
    if (!isVisible())
        return; // still starting: it comes to the front when it is shown
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void Form1::saveBeforeAbruptEnd()
{
    if (std::exchange(m_closed, true))
        return;
    m_searchList->stopOpening();
    QString said;
    try {
        said = SaveSearches();
    } catch (const Failure& failure) {
        said = failure.description();
    }
    if (!said.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(said));
}

QString Form1::dataFilePath(const QString& relativeName) const
{
    return m_environment.applicationFolder + QLatin1Char('/') + relativeName;
}

void Form1::Form_Load()
{
    const ErrorTrap trap = trapFor(QStringLiteral("Form_Load"), m_environment, this);
    trap.run(100, [&] {
        Main::ApplySkin(dataFilePath(Main::kSkinFile), *SkinFramework1, *this, {Frame2, Frame1, Label1});
    });
    const QString cursorPath = dataFilePath(kCursorFile);
    bool cursorFileExists = true; // a failing test goes on into the conditional
    trap.run(104, [&] { cursorFileExists = Main::FileExists(cursorPath); });
    if (cursorFileExists)
        trap.run(106, [&] { loadMouseIcon(cursorPath); });
    trap.run(108, [&] {
        Main::MaybeOpenHomePage(m_environment.drawHomePageNumber(), m_environment.applicationFolder,
                                [&](const QUrl& address) {
                                    // The desktop answers after the start-up; a failure is reported then.
                                    m_environment.openUrl(address, *this, [trap](const auto& failure) {
                                        if (failure)
                                            trap.report(108, failure->description);
                                    });
                                });
    });
    trap.run(126, [&] { setWindowTitle(Main::kProductTitle); });
    trap.run(126, [&] { setWindowIcon(programIcon()); });
    trap.run(126, [&] { Main::SetApplicationTitle(); });
    trap.run(128, [&] { ListView1->addColumn(QStringLiteral("URL")); });
    trap.run(130, [&] { ListView1->addColumn(QStringLiteral("Locations")); });
    trap.run(132, [&] { ListView1->setColumnWidthTwips(1, 1); });
    trap.run(134, [&] { ListView1->setColumnWidthTwips(2, 7000); });
    trap.run(136, [&] { LoadLocations(); });
    trap.run(138, [&] { ListView2->addColumn(QStringLiteral("Searches")); });
    trap.run(140, [&] { ListView2->setColumnWidthTwips(1, 7000); });
    RestoreSearches(trap);
}

void Form1::loadMouseIcon(const QString& path)
{
    m_mouseIcon = loadCursorFile(path, devicePixelRatio());
    m_mouseIconPath = path;
    m_mouseIconRatio = devicePixelRatio();
}

void Form1::fitMouseIconToScreen()
{
    if (m_mouseIconPath.isEmpty() || qFuzzyCompare(m_mouseIconRatio, devicePixelRatio()))
        return;
    try {
        loadMouseIcon(m_mouseIconPath);
        setMousePointer(m_mousePointer);
    } catch (const Failure&) {
        // The file has gone or changed since start-up, which reported it then; the hand already loaded stays.
    }
}

void Form1::LoadLocations()
{
    loadLocations(dataFilePath(kLocationListFile), ListView1->listModel());
}

void Form1::RestoreSearches(const ErrorTrap& startUp)
{
    m_searchList->restoreSearches(startUp);
}

QString Form1::SaveSearches()
{
    return m_searchList->saveSearches();
}

void Form1::Form_QueryUnload()
{
    // The close goes on whatever happens; a list that could not be saved is at least reported.
    const ErrorTrap trap = trapFor(QStringLiteral("Form_QueryUnload"), m_environment, this);
    QString notice;
    trap.run(100, [&] { notice = SaveSearches(); });
    if (!notice.isEmpty())
        trap.report(100, notice);
}

void Form1::Form_Unload()
{
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        m_searchList->stopOpening(); // no page opens once the close has begun
        Form_QueryUnload();
        Form_Unload();
    }
    event->accept();
}

void Form1::Text1_Change()
{
    const auto keepForLater = [this](QWidget*, const QString& text) { m_filterReports.append(text); };
    ErrorTrap(QStringLiteral("Text1_Change"), keepForLater, this).run(100, [&] {
        m_filter.rebuild(dataFilePath(kLocationListFile), Text1->text(), ListView1->listModel());
    });
    if (!m_filterReports.isEmpty())
        m_filterReportDelay.start(); // again from the latest key
}

void Form1::showFilterReports()
{
    for (const QString& text : std::exchange(m_filterReports, {}))
        m_environment.showErrorReport(this, text);
}

void Form1::PushButton7_Click()
{
    rebuildPendingFilter(); // the search goes to a location of the list that matches the filter text
    m_searchList->addSearch();
}

void Form1::rebuildPendingFilter()
{
    if (m_filterRebuild.isActive()) {
        m_filterRebuild.stop();
        Text1_Change();
    }
}

void Form1::PushButton2_Click()
{
    m_searchList->openSelected();
}

void Form1::PushButton6_Click()
{
    m_searchList->openAll();
}

void Form1::PushButton3_Click()
{
    m_searchList->clearAll();
}

void Form1::PushButton4_Click()
{
    m_searchList->deleteSelected();
}

void Form1::PushButton5_Click()
{
    m_searchList->loadSampleSearch();
}

void Form1::ListView1_DblClick()
{
    // Double-clicking a location starts no command.
}

void Form1::ListView2_DblClick()
{
    // A search opens as Open Selected opens it: the double-click's first click has selected it.
    PushButton2_Click();
}

qsizetype Form1::pickUnderPointer(ListView& list, const QPoint& where)
{
    // A right-click selects the item under the pointer first, as on Windows, and keeps a selection of several that
    // it falls on.
    const qsizetype position = list.positionAt(where);
    if (position != 0 && !list.selectedPositions().contains(position))
        list.selectPosition(position);
    return position;
}

void Form1::nameUndoSteps()
{
    const QString undo = m_searchList->undoName();
    const QString redo = m_searchList->redoName();
    m_undo->setText(entryText(QStringLiteral("Undo"), undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    m_undo->setEnabled(!undo.isEmpty());
    m_redo->setText(entryText(QStringLiteral("Redo"), redo, QKeySequence(Qt::CTRL | Qt::Key_Y)));
    m_redo->setEnabled(!redo.isEmpty());
}

void Form1::ListView2_ContextMenu(const QPoint& where)
{
    // The commands for queries are for those picked; away from the queries they are off.
    const qsizetype position = pickUnderPointer(*ListView2, where);
    for (QAction* command : std::as_const(m_queryCommands))
        command->setEnabled(position != 0);
    nameUndoSteps();
    m_saveSearchesAs->setEnabled(ListView2->count() > 0);
    m_bringBack->setEnabled(m_searchList->hasClearedSearches());
    mnuSearch->popup(ListView2->viewport()->mapToGlobal(where));
}

void Form1::ListView1_ContextMenu(const QPoint& where)
{
    pickUnderPointer(*ListView1, where);
    nameUndoSteps();
    listTownGroups();
    m_rememberTowns->setEnabled(ListView1->count() > 0);
    mnuLocations->popup(ListView1->viewport()->mapToGlobal(where));
}

void Form1::listTownGroups()
{
    mnuSelectTowns->clear();
    mnuForgetTowns->clear();
    const QStringList names = m_townGroups->names();
    for (const QString& name : names) {
        mnuSelectTowns->addAction(menuText(name), this, [this, name] { mnuSelectTowns_Click(name); });
        mnuForgetTowns->addAction(menuText(name), this, [this, name] { mnuForgetTowns_Click(name); });
    }
    mnuSelectTowns->setEnabled(!names.isEmpty());
    mnuForgetTowns->setEnabled(!names.isEmpty());
}

void Form1::mnuUndo_Click()
{
    m_searchList->undo();
}

void Form1::mnuRedo_Click()
{
    m_searchList->redo();
}

void Form1::mnuSaveSearchesAs_Click()
{
    m_searchList->saveSearchesAs();
}

void Form1::mnuAddSearchesFromFile_Click()
{
    m_searchList->addSearchesFromFile();
}

void Form1::mnuBringBack_Click()
{
    m_searchList->bringBackCleared();
}

void Form1::mnuRememberTowns_Click()
{
    m_townGroups->rememberSelected();
}

void Form1::mnuSelectTowns_Click(const QString& name)
{
    // Every town of the catalogue is listed, whatever the filter held, so that the whole group can be selected.
    Text1->setText(QString());
    rebuildPendingFilter();
    if (m_townGroups->select(name))
        txtSearch->setFocus(); // ready for the search text, then Add Search
}

void Form1::mnuForgetTowns_Click(const QString& name)
{
    m_townGroups->forget(name);
}

void Form1::mnuCopy_Click()
{
    m_searchList->copySelected();
}

void Form1::mnuCopyAddress_Click()
{
    m_searchList->copySelectedAddress();
}

void Form1::mnuSearchWith_Click(SearchEngine engine)
{
    m_searchList->chooseSearchEngine(engine);
}

void Form1::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    if (pointer == kCustomPointer && m_mouseIcon)
        setCursor(*m_mouseIcon);
    else
        unsetCursor(); // the arrow, also for the custom setting while there is no icon
}

void Form1::Form_MouseMove()
{
    setMousePointer(kDefaultPointer);
}
void Form1::Frame1_MouseMove()
{
    setMousePointer(kDefaultPointer);
}
void Form1::Frame2_MouseMove()
{
    setMousePointer(kDefaultPointer);
}
void Form1::ListView1_MouseMove()
{
    setMousePointer(kDefaultPointer);
}
void Form1::ListView2_MouseMove()
{
    setMousePointer(kDefaultPointer);
}
void Form1::PushButton7_MouseMove()
{
    setMousePointer(kCustomPointer);
}
void Form1::PushButton2_MouseMove()
{
    setMousePointer(kCustomPointer);
}
void Form1::PushButton6_MouseMove()
{
    setMousePointer(kCustomPointer);
}
void Form1::PushButton3_MouseMove()
{
    setMousePointer(kCustomPointer);
}
void Form1::PushButton4_MouseMove()
{
    setMousePointer(kCustomPointer);
}
void Form1::PushButton5_MouseMove()
{
    setMousePointer(kCustomPointer);
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The hand is drawn for the scale of the screen the window opens on, which need not be the one it was made
    // for, and again whenever it moves to another screen.
    fitMouseIconToScreen();
    connect(windowHandle(), &QWindow::screenChanged, this, &Form1::fitMouseIconToScreen, Qt::UniqueConnection);
}

void Form1::mouseMoveEvent(QMouseEvent* event)
{
    if (isOverOwnSurface(this, event))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // In the search list Delete deletes, and Ctrl+C copies, every selected query.
    if (watched == ListView2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            mnuCopy_Click();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            PushButton4_Click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (watched == Frame1 && isOverOwnSurface(Frame1, move))
            Frame1_MouseMove();
        else if (watched == Frame2 && isOverOwnSurface(Frame2, move))
            Frame2_MouseMove();
    }
    return QWidget::eventFilter(watched, event);
}
