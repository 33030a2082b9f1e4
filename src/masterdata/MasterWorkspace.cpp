#include "masterdata/MasterWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Clock.h"
#include "common/Collation.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "masterdata/MasterTables.h"
#include "masterdata/PostcodeList.h"
#include "platform/Files.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"
#include "table/TableFile.h"

PriceSettings PriceSettingsFromOptions(const OptionValues& options)
{
    PriceSettings s;
    VatRates rates;
    ParseVatRates(options, &rates);
    for (int i = 0; i < 3; ++i) {
        s.currentVat[i] = rates.current[i];
        s.previousVat[i] = rates.previous[i];
    }
    QDate cutOff;
    if (dates::TryParse(options.Value(QStringLiteral("StichtagsDatumEdit")), &cutOff))
        s.cutOff = cutOff;
    s.euro = options.Flag(QStringLiteral("EuroChk"));
    long double dm = 0;
    if (TryStrToFloat(options.Value(QStringLiteral("DmEdit")), &dm) && dm > 0)
        s.dmRate = dm;
    return s;
}

int GridTableView::RecordCount() const
{
    return m_grid.RecordCount();
}

int GridTableView::FindSorted(const QString& text) const
{
    int position = 0;
    m_grid.FindSorted(text, position);
    return position;
}

QString GridTableView::Cell(int record, int col) const
{
    if (record < 0 || record >= m_grid.RecordCount())
        return {};
    return recordline::Cell(m_grid.RecordLine(record), col);
}

namespace {

int TabsOf(MasterTable table)
{
    switch (table) {
        case MasterTable::Medication:
            return recordline::kMedicationCells;
        case MasterTable::Service:
            return recordline::kServiceCells;
        case MasterTable::Customer:
            break;
    }
    return recordline::kCustomerCells;
}

}  // namespace

void LoadMasterTable(TSGrid& grid, MasterTable table, const QString& path)
{
    grid.LoadTable(path);
    const int tabs = TabsOf(table);
    if (mastertables::NeedsUpgrade(grid.Lines(), tabs)) {
        QStringList lines = grid.Lines();
        if (table == MasterTable::Service)
            mastertables::UpgradeServiceLines(lines);
        else
            mastertables::PadAll(lines, tabs);
        grid.SetLines(lines);
        // A failed save leaves the old file, which is then loaded as it is.
        grid.SaveTable(path);
        grid.LoadTable(path);
    }
    SetMasterTitles(grid, table);
}

int ScrollBarMaximum(int recordCount, int gridRows)
{
    return std::min(std::max(recordCount - gridRows + 1, 0), 30000);
}

int PlaceRecordSorted(TSGrid& grid, const QStringList& cells, int tabs)
{
    const QString candidate = cells.join(QLatin1Char('\t'));
    int record = 0;
    const int count = grid.RecordCount();
    if (count == 0) {
        record = grid.AddRecord(tabs);
    } else {
        grid.FindSorted(candidate, record);
        const QStringList lastCells =
            recordline::Split(grid.RecordLine(count - 1), int(cells.size()));
        if (record == count - 1 && CompareUmlaut(lastCells.join(QLatin1Char('\t')), candidate) < 0)
            record = grid.AddRecord(tabs);
        else
            grid.InsertRecord(record);
    }
    grid.PadRecord(tabs, record);
    for (int col = 1; col <= cells.size(); ++col)
        grid.SetRecordCell(col, record, cells.at(col - 1));
    grid.GotoRecord(1, record);
    return record;
}

QString MasterRecords::Path(MasterTable table) const
{
    return files::FindCaseInsensitive(m_ctx.dataFolder, MasterTableFile(table));
}

bool MasterRecords::RunDialog(TEditDlgForm& form, TSGrid& grid)
{
    GridTableView view(grid);
    if (form.Panel() != EditPanel::Customer)
        return m_ctx.dialog.Run(form, &view);
    PostcodeList postcodes(files::FindCaseInsensitive(m_ctx.dataFolder, PostcodeList::FileName()));
    postcodes.Load();
    form.Customer().SetPostcodeList(&postcodes);
    const bool ok = m_ctx.dialog.Run(form, &view);
    form.Customer().SetPostcodeList(nullptr);
    return ok;
}

void MasterRecords::AfterChange(MasterTable table, TSGrid& grid)
{
    m_ctx.hooks.SetScrollBarMaximum(ScrollBarMaximum(grid.RecordCount(), m_ctx.hooks.GridRows()));
    grid.SaveTable(Path(table));
    if (table != MasterTable::Customer)
        m_ctx.hooks.ResetQuantities();
}

namespace {

EditDlgSetup SetupFor(MasterTable table, EditMode mode, const PriceSettings& settings)
{
    EditDlgSetup setup;
    setup.panel = table == MasterTable::Medication ? EditPanel::Medication
                  : table == MasterTable::Service  ? EditPanel::Service
                                                   : EditPanel::Customer;
    setup.mode = mode;
    setup.settings = settings;
    return setup;
}

QStringList RecordCells(TSGrid& grid, int record, int count)
{
    return recordline::Split(grid.RecordLine(record), count);
}

void SelectLine(TSGrid& grid, const QString& line)
{
    const int at = int(grid.Lines().lastIndexOf(line));
    grid.GotoRecord(1, std::max(at, 0));
}

}  // namespace

bool MasterRecords::InsertRecord(MasterTable table, TSGrid& grid)
{
    TEditDlgForm form(SetupFor(table, EditMode::Insert, m_ctx.settings), m_ctx.port);
    QString number;
    if (table == MasterTable::Customer) {
        const auto next = mastertables::NextCustomerNumber(grid.Lines(), m_ctx.port);
        if (!next)
            return false;
        number = *next;
        form.Customer().SetNumberText(number);
    }
    if (!RunDialog(form, grid)) {
        m_ctx.port.Message(MsgKind::Information, QStringLiteral("Kein Datensatz wurde eingefügt!"));
        return false;
    }
    switch (table) {
        case MasterTable::Medication:
            PlaceRecordSorted(grid, form.Medication().Cells(), recordline::kMedicationCells);
            break;
        case MasterTable::Service:
            PlaceRecordSorted(grid, form.Service().Cells(), recordline::kServiceCells);
            break;
        case MasterTable::Customer: {
            const QStringList cells = form.Customer().Cells(number, QStringLiteral("000"));
            const int record = grid.AddRecord(recordline::kCustomerCells);
            for (int col = 1; col <= cells.size(); ++col)
                grid.SetRecordCell(col, record, cells.at(col - 1));
            const QString line = grid.RecordLine(record);
            grid.SortAll();
            SelectLine(grid, line);
            break;
        }
    }
    AfterChange(table, grid);
    if (table == MasterTable::Customer && m_ctx.ini) {
        m_ctx.ini->EraseSection(QStringLiteral("LetzteKundenNr"));
        m_ctx.ini->WriteString(QStringLiteral("LetzteKundenNr"), QStringLiteral("Nr"), number);
    }
    return true;
}

bool MasterRecords::EditRecord(MasterTable table, TSGrid& grid)
{
    if (grid.RecordCount() == 0) {
        m_ctx.port.Message(MsgKind::Information, QStringLiteral("Datenbank ist leer!"), Buttons::Ok,
                           QStringLiteral("Info"));
        return false;
    }
    const int current = grid.CurrentRecord();
    TEditDlgForm form(SetupFor(table, EditMode::Edit, m_ctx.settings), m_ctx.port);
    switch (table) {
        case MasterTable::Medication:
            form.Medication().Load(RecordCells(grid, current, recordline::kMedRemark));
            break;
        case MasterTable::Service:
            form.Service().Load(RecordCells(grid, current, recordline::kServiceCells));
            break;
        case MasterTable::Customer:
            form.Customer().Load(RecordCells(grid, current, recordline::kCustomerCells));
            break;
    }
    if (!RunDialog(form, grid)) {
        m_ctx.port.Message(MsgKind::Information, QStringLiteral("Eintrag wurde nicht bearbeitet!"));
        return false;
    }
    switch (table) {
        case MasterTable::Medication: {
            const QString old = grid.RecordLine(current);
            grid.DeleteRecord(current);
            const int record =
                PlaceRecordSorted(grid, form.Medication().Cells(), recordline::kMedicationCells);
            using namespace recordline;
            if (!Cell(old, kMedCode).isEmpty()) {
                grid.SetRecordCell(kMedStock, record, Cell(old, kMedStock));
                grid.SetRecordCell(kMedCode, record, Cell(old, kMedCode));
            }
            break;
        }
        case MasterTable::Service:
            grid.DeleteRecord(current);
            PlaceRecordSorted(grid, form.Service().Cells(), recordline::kServiceCells);
            break;
        case MasterTable::Customer: {
            const QStringList cells = form.Customer().Cells(
                recordline::Cell(grid.RecordLine(current), recordline::kCustNumber),
                recordline::Cell(grid.RecordLine(current), recordline::kCustCardNumber));
            using namespace recordline;
            for (int col : {kCustName, kCustFirstName, kCustStreet, kCustTown, kCustPhone,
                            kCustSalutation, kCustRemark, kCustMail})
                grid.SetRecordCell(col, current, cells.at(col - 1));
            const QString line = grid.RecordLine(current);
            grid.SortAll();
            SelectLine(grid, line);
            break;
        }
    }
    grid.SaveTable(Path(table));
    return true;
}

bool MasterRecords::DeleteRecord(MasterTable table, TSGrid& grid)
{
    UserPort& port = m_ctx.port;
    if (grid.RecordCount() == 0) {
        port.Message(MsgKind::Information, QStringLiteral("Datenbank ist leer!"), Buttons::Ok,
                     QStringLiteral("Info"));
        return false;
    }
    const int current = grid.CurrentRecord();
    const QString line = grid.RecordLine(current);
    if (table == MasterTable::Customer &&
        port.Message(MsgKind::Warning,
                     QStringLiteral("Wird ein Kunde gelöscht, so gehen auch alle\rKarteikarten "
                                    "dieses Kunden für immer verloren!"),
                     Buttons::OkCancel) != Answer::Ok)
        return false;
    const QString question =
        mastertables::DeleteQuestion(table == MasterTable::Customer ? line : QString());
    if (port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
        return false;

    if (table == MasterTable::Customer) {
        const QString number = recordline::Cell(line, recordline::kCustNumber);
        int cards = 0;
        TryStrToInt(recordline::Cell(line, recordline::kCustCardNumber), &cards);
        const mastertables::CustomerRemoval plan = mastertables::CustomerRemovalPlan(number, cards);
        for (const QString& name : plan.files) {
            const QString path = files::FindCaseInsensitive(m_ctx.dataFolder, name);
            if (QFileInfo::exists(path))
                QFile::remove(path);
        }
        for (const char* reg : {"ST_RECHN.DBF", "ST_MAHN.DBF"}) {
            const QString path = files::FindCaseInsensitive(m_ctx.dataFolder, QLatin1String(reg));
            if (!table::CreateIfMissing(grid.Environment(), port, path))
                continue;
            for (const QString& change : plan.changeLines)
                table::AppendChangeLine(grid.Environment(), port, path, change);
        }
    } else if (table == MasterTable::Medication && m_ctx.medicationWorkspace) {
        const QString code = recordline::Cell(line, recordline::kMedCode);
        if (!code.isEmpty()) {
            for (int year = 2007; year <= m_ctx.clock.Today().year(); ++year) {
                const QString path = files::ResolveCaseInsensitive(
                    m_ctx.dataFolder, QStringLiteral("MedInv%1/Med%2.dbf").arg(year).arg(code));
                if (QFileInfo::exists(path))
                    QFile::remove(path);
            }
        }
    }
    grid.DeleteRecord(current);
    m_ctx.hooks.SetScrollBarMaximum(ScrollBarMaximum(grid.RecordCount(), m_ctx.hooks.GridRows()));
    if (table == MasterTable::Customer)
        m_ctx.hooks.RefreshCustomerDisplay();
    else
        m_ctx.hooks.ResetQuantities();
    grid.SaveTable(Path(table));
    return true;
}

QStringList& GridVatRecalcTarget::ServiceLines()
{
    m_lines = m_serviceGrid.Lines();
    return m_lines;
}

void GridVatRecalcTarget::SaveServices()
{
    m_serviceGrid.SetLines(m_lines);
    m_serviceGrid.SaveTable(m_servicePath);
    SetMasterTitles(m_serviceGrid, MasterTable::Service);
}

QStringList& GridVatRecalcTarget::MedicationLines()
{
    m_lines = m_medicationGrid.Lines();
    return m_lines;
}

void GridVatRecalcTarget::SaveMedications()
{
    m_medicationGrid.SetLines(m_lines);
    m_medicationGrid.SaveTable(m_medicationPath);
    SetMasterTitles(m_medicationGrid, MasterTable::Medication);
}

void GridVatRecalcTarget::ShowCurrentRate(const QString& rateText)
{
    if (showCurrentRate)
        showCurrentRate(rateText);
}

void GridVatRecalcTarget::ResetQuantities()
{
    if (resetQuantities)
        resetQuantities();
}

void GridVatRecalcTarget::ReloadBatchIfShown()
{
    if (reloadBatchIfShown)
        reloadBatchIfShown();
}
