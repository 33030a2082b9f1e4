#pragma once

#include <memory>

#include "settings/IniSettings.h"

enum class ListPrintMode;
class IniLayoutStore;
class QAction;
class TForm1;
class TSMemo;

// The main window's side of the "Texte" workspace: the panel, its file menu items, the
// recent files of the file menu, and the save question when the window closes.
class TForm1Texte {
public:
    explicit TForm1Texte(TForm1& form);
    ~TForm1Texte();

    void Build();
    TSMemo* Panel() const { return m_panel; }
    // Entering the workspace shows the panel; the document stays while others are shown.
    void Sync(bool active);
    // The file menu's print and page layout items in this workspace.
    void MenuPrint(ListPrintMode mode);
    // Opens a recent file (entry 0 to 3) in the workspace.
    void OpenRecent(int index);
    void RefreshRecentMenu();
    // The window closes: false when the person cancelled the save question.
    bool AskToSave();

private:
    TForm1& m_form;
    IniSettings m_settings;
    std::unique_ptr<IniLayoutStore> m_layouts;
    TSMemo* m_panel = nullptr;
    QList<QAction*> m_fileActions;
};
