#pragma once

#include <QIcon>
#include <QString>

#include "shell/Workspaces.h"

// The picture of a workspace's tool bar button: a white pictogram (pill, list, person, card,
// receipt, stack of letters, pen, calendar, cog) on the workspace's colour.
QIcon WorkspaceIcon(Workspace w);
// The short German name under the button ("Kartei", "Termine").
QString WorkspaceButtonText(Workspace w);
