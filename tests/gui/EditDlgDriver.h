#pragma once

#include <QString>
#include <functional>

class TEditDlg;

// Drives the modal record edit dialog once it shows, as a person would, then clicks OK
// unless `drive` closed it already.
void WhenDialogShows(std::function<void(TEditDlg&)> drive);
// Types into a field as a person would after entering it; `replace` selects the text first.
void TypeInto(TEditDlg& dlg, int id, const QString& text, bool replace = false);
