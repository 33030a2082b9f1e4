#include <gtest/gtest.h>

#include "FixedClock.h"
#include "RecordingCanvas.h"
#include "ScriptedUserPort.h"
#include "cards/LineStop.h"
#include "printing/LayoutStore.h"
#include "printing/TMemoSeiteEinrichtenDlgForm.h"
#include "table/TSGrid.h"

using namespace card;

namespace {

struct LineStopTest : ::testing::Test {
    RecordingCanvas canvas;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    MemoryLayoutStore layouts;
    TSGrid grid{port};
    LineStopMeter meter{canvas, grid, layouts, port, clock};

    void SetUp() override
    {
        grid.SetColCount(9);
        grid.SetTitles({QString(), "Datum", "Behandlung", "USt", "Netto"});
    }
    // Characters of the body font are half its height wide: 9 points give 18 pixels.
    static QString Chars(int n) { return QString(n, QLatin1Char('x')); }
};

}  // namespace

TEST_F(LineStopTest, TextStopsWhereTheDescriptionColumnEnds)
{
    meter.Measure();
    const int width = meter.Width();
    ASSERT_GT(width, 0);
    const int fitting = (width - 1) / 18;
    EXPECT_FALSE(meter.Exceeds(Chars(fitting)));
    EXPECT_TRUE(meter.Exceeds(Chars(fitting + 1))) << "reaching the width is enough";
    // Measuring changes the canvas font; the texts are still measured in the body font.
    canvas.SetFont(PrintFont{QStringLiteral("Arial"), 20, true});
    EXPECT_FALSE(meter.Exceeds(Chars(fitting)));
}

TEST_F(LineStopTest, FollowsTheRecordCardPageLayout)
{
    meter.Measure();
    const int before = meter.Width();
    TMemoSeiteEinrichtenDlgForm layout(layouts);
    layout.Load(TMemoSeiteEinrichtenDlgForm::Workspace::RecordCard);
    layout.LinksEdit = QStringLiteral("5");
    layout.EditorFont = PrintFont{QStringLiteral("Arial"), 12};
    layout.Ok();
    meter.Measure();
    EXPECT_LT(meter.Width(), before);
    // 12 points: 24 pixels a character.
    const int fitting = (meter.Width() - 1) / 24;
    EXPECT_FALSE(meter.Exceeds(Chars(fitting)));
    EXPECT_TRUE(meter.Exceeds(Chars(fitting + 1)));
}

TEST_F(LineStopTest, NothingIsStoppedBeforeMeasuring)
{
    EXPECT_EQ(meter.Width(), 0);
    EXPECT_FALSE(meter.Exceeds(Chars(500)));
}
