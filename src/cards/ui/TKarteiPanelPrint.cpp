// The panel's side of the print command.
#include "cards/CardEntryForm.h"
#include "cards/ui/TKarteiPanel.h"

bool TKarteiPanel::BeginWorkspaceCommand()
{
    if (!m_cardOpen)
        return false;
    EndEdit();
    SyncCell();
    Form().LeaveCell();
    return true;
}

void TKarteiPanel::EndWorkspaceCommand()
{
    ShowCard();
    emit cardShown();
}
