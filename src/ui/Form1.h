// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/LocationCatalogue.h"
#include "platform/desktop/Environment.h"
#include "searches/SearchListCommands.h"
#include "searches/TownGroupCommands.h"

#include <QCursor>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class ListView;
class QAction;
class PushButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class SkinFramework;
struct SearchListWidgets;

// The main window. Creating it runs the start-up sequence (Form_Load); closing it by any means saves the search
// list (Form_QueryUnload) and ends the program (Form_Unload).
//
// | control        | caption                            | role                                              |
// |----------------|------------------------------------|---------------------------------------------------|
// | Frame2         | "Create New Bazaarly Search"       | group box around the filter, locations and add    |
// | Label1, Text1  | "Filter Locations:"                | narrows ListView1 as the user types               |
// | ListView1      | columns "URL", "Locations"         | the catalogue's towns; several may be selected;   |
// |                |                                    | right-click offers mnuLocations                   |
// | Frame1         | "Search For This Text"             | group box around the search box                   |
// | txtSearch      |                                    | the search text                                   |
// | PushButton7    | "Add Search"                       | one query per selected town, into ListView2       |
// | ListView2      | column "Searches"                  | the search list; several may be selected;         |
// |                |                                    | double-click opens, right-click offers mnuSearch  |
// | PushButton2    | "Open Selected"                    | opens the selected queries in the browser         |
// | PushButton6    | "Open All"                         | opens every query, in order                       |
// | PushButton3    | "Clear All"                        | empties the search list                           |
// | PushButton4    | "Delete Selected Search From List" | removes the selected queries                      |
// | PushButton5    | "Load Example/Sample Searches"     | appends the sample query                          |
// | SkinFramework1 |                                    | the optional skin                                 |
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    // The window pointer settings: the default arrow, or the custom mouse icon (the hand).
    static constexpr int kDefaultPointer = 0;
    static constexpr int kCustomPointer = 99;

    explicit Form1(Environment environment, QWidget* parent = nullptr);
    ~Form1() override;

    // Shows the window centred on its screen.
    void showCentred();
    // Shows the window in front of the others, restored if it was minimised.
    void bringToFront();
    // True from the moment the close has begun.
    bool isClosing() const { return m_closed; }
    // The save of a close that cannot happen: the process is ending from under the window (its display is
    // gone), so nothing can be shown; a failure is written to standard error. Nothing when the window closed.
    void saveBeforeAbruptEnd();

    int mousePointer() const { return m_mousePointer; }
    const std::optional<QCursor>& mouseIcon() const { return m_mouseIcon; }

    // The controls, in the order the window creates them; each control's object name is its own name.
    QGroupBox* Frame2;
    QGroupBox* Frame1;
    QLineEdit* txtSearch;
    QLineEdit* Text1;
    ListView* ListView1;
    PushButton* PushButton7;
    QLabel* Label1;
    ListView* ListView2;
    PushButton* PushButton2;
    PushButton* PushButton6;
    PushButton* PushButton3;
    PushButton* PushButton4;
    PushButton* PushButton5;
    SkinFramework* SkinFramework1;
    // The search list's right-click menu: Open, Copy, Copy Address and Delete for the selected queries (the one
    // under the pointer, unless it is one of several selected), Undo and Redo, the list to and from a file, the
    // queries last cleared, and the engine the queries open on.
    QMenu* mnuSearch;
    QMenu* mnuSearchWith;
    // The location list's right-click menu: the remembered town groups, to select or forget, the selected towns to
    // remember, and Undo and Redo, the same two entries as the search list's.
    QMenu* mnuLocations;
    QMenu* mnuSelectTowns;
    QMenu* mnuForgetTowns;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's event procedures: the controls' signals and the window's events call them.
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void LoadLocations();
    QString SaveSearches();
    void RestoreSearches(const ErrorTrap& startUp);

    void Text1_Change();
    void PushButton7_Click();
    void PushButton2_Click();
    void PushButton6_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void ListView1_DblClick();
    void ListView2_DblClick();
    void ListView1_ContextMenu(const QPoint& where);
    void ListView2_ContextMenu(const QPoint& where);
    void mnuCopy_Click();
    void mnuCopyAddress_Click();
    void mnuSearchWith_Click(SearchEngine engine);
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuSaveSearchesAs_Click();
    void mnuAddSearchesFromFile_Click();
    void mnuBringBack_Click();
    void mnuRememberTowns_Click();
    void mnuSelectTowns_Click(const QString& name);
    void mnuForgetTowns_Click(const QString& name);

    void Form_MouseMove();
    void Frame1_MouseMove();
    void Frame2_MouseMove();
    void ListView1_MouseMove();
    void ListView2_MouseMove();
    void PushButton7_MouseMove();
    void PushButton2_MouseMove();
    void PushButton6_MouseMove();
    void PushButton3_MouseMove();
    void PushButton4_MouseMove();
    void PushButton5_MouseMove();

    // The file of the application folder with the given relative name.
    QString dataFilePath(const QString& relativeName) const;
    void createControls();
    void createSearchListMenu();
    void createSearchWithMenu();
    void createUndoCommands();
    void createLocationListMenu();
    void nameUndoSteps();
    void listTownGroups();
    // Selects the item under the pointer, unless it is one of several selected; its position, 0 for none.
    static qsizetype pickUnderPointer(ListView& list, const QPoint& where);
    void setTabOrder();
    void connectEvents();
    void loadMouseIcon(const QString& path);
    void fitMouseIconToScreen();
    void setMousePointer(int pointer);
    void rebuildPendingFilter();
    void showFilterReports();

    Environment m_environment;
    std::unique_ptr<SearchListWidgets> m_searchListWidgets; // the controls as the search list's commands see them
    std::unique_ptr<SearchListCommands> m_searchList;       // made once the controls it works on exist
    std::unique_ptr<TownGroupCommands> m_townGroups;
    // The commands of the search list's menu that work on the selected queries.
    QList<QAction*> m_queryCommands;
    QAction* m_undo = nullptr; // in both lists' menus
    QAction* m_redo = nullptr;
    QAction* m_saveSearchesAs = nullptr;
    QAction* m_bringBack = nullptr;
    QAction* m_rememberTowns = nullptr;
    LocationFilterRebuild m_filter;
    // The filter's reports wait for the typing to stop: a box that opened at once would take the keys after it.
    QStringList m_filterReports;
    QTimer m_filterReportDelay;
    int m_mousePointer = kDefaultPointer;
    std::optional<QCursor> m_mouseIcon;
    QTimer m_filterRebuild{this}; // runs Text1_Change once the keys waiting have been taken
    QString m_mouseIconPath;      // read again for another screen's scale
    qreal m_mouseIconRatio = 1;   // the scale it was drawn for
    bool m_closed = false;
};
