#include "EditDlgDriver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "masterdata/ui/TEditDlg.h"

void WhenDialogShows(std::function<void(TEditDlg&)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* dlg = qobject_cast<TEditDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        drive(*dlg);
        if (dlg->isVisible())
            dlg->OkButton()->click();
    });
}

void TypeInto(TEditDlg& dlg, int id, const QString& text, bool replace)
{
    dlg.FieldWidget(id)->setFocus();
    QApplication::processEvents();
    if (replace)
        dlg.Editor(id)->selectAll();
    QTest::keyClicks(dlg.Editor(id), text);
}
