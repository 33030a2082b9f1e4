#include "printing/ui/PageLayoutDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "printing/PageLayout.h"
#include "printing/qt/QtPrintCanvas.h"

namespace {

QLineEdit* MeasureEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    // Digits and the decimal comma only.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), edit));
    return edit;
}

QFont ToQFont(const PrintFont& f)
{
    QFont q(QtPrintCanvas::FamilyFor(f.name), f.size);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeOut);
    return q;
}

void FromQFont(const QFont& q, PrintFont& f)
{
    // Keep the stored Windows name when the family is only its stand-in.
    if (QtPrintCanvas::FamilyFor(f.name) != q.family()) {
        f.name = q.family();
    }
    f.size = q.pointSize() > 0 ? q.pointSize() : f.size;
    f.bold = q.bold();
    f.italic = q.italic();
    f.underline = q.underline();
    f.strikeOut = q.strikeOut();
}

bool PickFont(QWidget* parent, PrintFont& font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), parent);
    if (ok) {
        FromQFont(chosen, font);
    }
    return ok;
}

// A length field with its unit behind it.
QLayout* InCentimetres(QLineEdit* edit)
{
    auto* row = new QHBoxLayout;
    edit->setMaximumWidth(80);
    row->addWidget(edit);
    row->addWidget(new QLabel(QStringLiteral("cm")));
    row->addStretch();
    return row;
}

// The margin rows in the order of the stored file: top, bottom, left, right.
MarginEdits AddMarginRows(QFormLayout* rows, QWidget* parent)
{
    MarginEdits m{MeasureEdit(parent), MeasureEdit(parent), MeasureEdit(parent),
                  MeasureEdit(parent)};
    rows->addRow(QStringLiteral("Rand oben:"), InCentimetres(m.oben));
    rows->addRow(QStringLiteral("Rand unten:"), InCentimetres(m.unten));
    rows->addRow(QStringLiteral("Rand links:"), InCentimetres(m.links));
    rows->addRow(QStringLiteral("Rand rechts:"), InCentimetres(m.rechts));
    return m;
}

template <class Form>
void ShowMargins(const MarginEdits& m, const Form& form)
{
    m.oben->setText(form.ObenEdit);
    m.unten->setText(form.UntenEdit);
    m.links->setText(form.LinksEdit);
    m.rechts->setText(form.RechtsEdit);
}

template <class Form>
void TakeMargins(const MarginEdits& m, Form& form)
{
    form.ObenEdit = m.oben->text();
    form.UntenEdit = m.unten->text();
    form.LinksEdit = m.links->text();
    form.RechtsEdit = m.rechts->text();
}

// OK takes the fields into the form and saves them, Cancel leaves the stored layout as it
// was, "Standard..." fills the fields with the defaults.
template <class Form>
QDialogButtonBox* Buttons(QDialog* dialog, Form& form, const std::function<void()>& show,
                          const std::function<void()>& take)
{
    auto* box = new QDialogButtonBox(dialog);
    box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QPushButton* std = box->addButton(QStringLiteral("Standard..."), QDialogButtonBox::ResetRole);
    QObject::connect(std, &QPushButton::clicked, dialog, [&form, show] {
        form.Standard();
        show();
    });
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, [dialog, &form, take] {
        take();
        form.Ok();
        dialog->accept();
    });
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, [dialog, &form] {
        form.Cancel();
        dialog->reject();
    });
    return box;
}

}  // namespace

TMemoSeiteEinrichtenDlg::TMemoSeiteEinrichtenDlg(TMemoSeiteEinrichtenDlgForm& form,
                                                 TMemoSeiteEinrichtenDlgForm::Workspace workspace,
                                                 QWidget* parent)
    : QDialog(parent), m_form(form)
{
    m_form.Load(workspace);
    setWindowTitle(m_form.Caption());
    auto* group = new QGroupBox(m_form.GroupCaption(), this);
    auto* grid = new QFormLayout(group);
    m_margins = AddMarginRows(grid, this);
    m_kopf = MeasureEdit(this);
    m_seitenNr = new QCheckBox(QStringLiteral("Seiten&nummern:"), this);
    m_einzug = new QComboBox(this);
    m_einzug->addItems(
        {QStringLiteral("1 fach"), QStringLiteral("2 fach"), QStringLiteral("3 fach")});
    m_einzugLabel = new QLabel(QStringLiteral("Einzug (Abstand des Textes zum Seitenrand):"));
    grid->addRow(QStringLiteral("Kopfabstand:"), InCentimetres(m_kopf));
    grid->addRow(m_seitenNr);
    grid->addRow(m_einzugLabel, m_einzug);
    m_einzug->setVisible(m_form.IndentationVisible());
    m_einzugLabel->setVisible(m_form.IndentationVisible());

    m_sample = new QLabel(QString::fromLatin1(TMemoSeiteEinrichtenDlgForm::kSample), this);
    auto* editorFont = new QPushButton(QStringLiteral("Schrift..."), this);
    auto* bigFont = new QPushButton(QStringLiteral("Kopf groß..."), this);
    auto* smallFont = new QPushButton(QStringLiteral("Kopf klein..."), this);
    connect(editorFont, &QPushButton::clicked, this, [this] {
        ChooseFont(m_form.EditorFont);
        m_sample->setFont(ToQFont(m_form.EditorFont));
    });
    connect(bigFont, &QPushButton::clicked, this, [this] { ChooseFont(m_form.TitelFontGross); });
    connect(smallFont, &QPushButton::clicked, this, [this] { ChooseFont(m_form.TitelFontKlein); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_sample);
    layout->addWidget(editorFont);
    layout->addWidget(bigFont);
    layout->addWidget(smallFont);
    layout->addWidget(Buttons(
        this, m_form, [this] { Show(); }, [this] { Take(); }));
    Show();
}

void TMemoSeiteEinrichtenDlg::ChooseFont(PrintFont& font)
{
    PickFont(this, font);
}

void TMemoSeiteEinrichtenDlg::Show()
{
    ShowMargins(m_margins, m_form);
    m_kopf->setText(m_form.KopfAbstandEdit);
    m_seitenNr->setChecked(m_form.SeitenNrChk);
    m_einzug->setCurrentIndex(m_form.EinzugEdit);
    m_sample->setFont(ToQFont(m_form.EditorFont));
}

void TMemoSeiteEinrichtenDlg::Take()
{
    TakeMargins(m_margins, m_form);
    m_form.KopfAbstandEdit = m_kopf->text();
    m_form.SeitenNrChk = m_seitenNr->isChecked();
    m_form.EinzugEdit = m_einzug->currentIndex();
}

TSeiteEinrichtenDlg::TSeiteEinrichtenDlg(TSeiteEinrichtenDlgForm& form,
                                         TSeiteEinrichtenDlgForm::List list, bool batchWorkspace,
                                         QWidget* parent)
    : QDialog(parent), m_form(form)
{
    m_form.Load(list, batchWorkspace);
    setWindowTitle(m_form.Caption());
    auto* layout = new QVBoxLayout(this);
    auto* page = new QFormLayout;
    m_margins = AddMarginRows(page, this);
    m_titel = new QLineEdit(this);
    m_lineCount = new QLineEdit(this);
    m_zeilen = new QCheckBox(QStringLiteral("&Zeilen-Linien:"), this);
    m_spalten = new QCheckBox(QStringLiteral("Sp&alten-Linien:"), this);
    m_datum = new QCheckBox(QStringLiteral("&Datum:"), this);
    m_seitenNr = new QCheckBox(QStringLiteral("Seiten&nummern:"), this);
    m_konto = new QCheckBox(QStringLiteral("Kontostände drucken"), this);
    page->addRow(QStringLiteral("Überschrift:"), m_titel);
    page->addRow(m_zeilen);
    page->addRow(QStringLiteral("Linie alle ... Zeilen:"), m_lineCount);
    page->addRow(m_spalten);
    page->addRow(m_datum);
    page->addRow(m_seitenNr);
    page->addRow(m_konto);
    const bool journal = list == TSeiteEinrichtenDlgForm::List::Einnahmen ||
                         list == TSeiteEinrichtenDlgForm::List::Ausgaben;
    m_konto->setVisible(journal);
    for (const QString& key : m_form.SwitchKeys()) {
        auto* box = new QCheckBox(TSeiteEinrichtenDlgForm::SwitchCaption(key), this);
        box->setObjectName(key);
        m_switches.append(box);
        page->addRow(box);
    }
    for (qsizetype i = 0; i < m_form.Widths.size(); ++i) {
        auto* title = new QLineEdit(this);
        auto* width = MeasureEdit(this);
        title->setVisible(i < m_form.Titles.size());
        m_titles.append(title);
        m_widths.append(width);
        const int index = static_cast<int>(i);
        connect(width, &QLineEdit::editingFinished, this, [this, index] {
            m_form.Widths[index] = m_widths[index]->text();
            m_form.WidthLeft(index);
            m_widths[index]->setText(m_form.Widths[index]);
            m_total->setText(m_form.TotalWidthLabel());
        });
        auto* row = new QHBoxLayout;
        row->addWidget(title, 1);
        width->setMaximumWidth(80);
        width->setToolTip(QStringLiteral("Breite der Spalte in cm"));
        row->addWidget(width);
        row->addWidget(new QLabel(QStringLiteral("cm"), this));
        page->addRow(QStringLiteral("Spalte %1:").arg(i + 1), row);
    }
    m_total = new QLabel(this);
    m_total->setVisible(list == TSeiteEinrichtenDlgForm::List::Abgabebeleg);
    page->addRow(m_total);
    layout->addLayout(page);

    auto* fonts = new QHBoxLayout;
    const std::pair<const char*, PrintFont*> buttons[] = {
        {"Zellen...", &m_form.ZellenFont},
        {"Spaltentitel...", &m_form.TitelFont},
        {"Überschrift...", &m_form.UeberschriftFont}};
    for (const auto& [text, font] : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        PrintFont* target = font;
        connect(button, &QPushButton::clicked, this, [this, target] { PickFont(this, *target); });
        fonts->addWidget(button);
    }
    layout->addLayout(fonts);
    layout->addWidget(Buttons(
        this, m_form, [this] { Show(); }, [this] { Take(); }));
    Show();
}

void TSeiteEinrichtenDlg::Show()
{
    ShowMargins(m_margins, m_form);
    m_titel->setText(m_form.TitelEdit);
    m_lineCount->setText(m_form.LineCountEdit);
    m_zeilen->setChecked(m_form.ZeilenChk);
    m_spalten->setChecked(m_form.SpaltenChk);
    m_datum->setChecked(m_form.DatumChk);
    m_seitenNr->setChecked(m_form.SeitenNrChk);
    m_konto->setChecked(m_form.KontostaendeChk);
    for (qsizetype i = 0; i < m_switches.size(); ++i) {
        m_switches[i]->setChecked(m_form.Switches.value(i));
    }
    for (qsizetype i = 0; i < m_widths.size(); ++i) {
        m_titles[i]->setText(m_form.Titles.value(i));
        m_widths[i]->setText(m_form.Widths.value(i));
    }
    m_total->setText(m_form.TotalWidthLabel());
}

void TSeiteEinrichtenDlg::Take()
{
    TakeMargins(m_margins, m_form);
    m_form.TitelEdit = m_titel->text();
    m_form.LineCountEdit = m_lineCount->text();
    m_form.ZeilenChk = m_zeilen->isChecked();
    m_form.SpaltenChk = m_spalten->isChecked();
    m_form.DatumChk = m_datum->isChecked();
    m_form.SeitenNrChk = m_seitenNr->isChecked();
    m_form.KontostaendeChk = m_konto->isChecked();
    for (qsizetype i = 0; i < m_switches.size(); ++i) {
        m_form.Switches[i] = m_switches[i]->isChecked();
    }
    for (qsizetype i = 0; i < m_widths.size(); ++i) {
        if (i < m_form.Titles.size()) {
            m_form.Titles[i] = m_titles[i]->text();
        }
        m_form.Widths[i] = m_widths[i]->text();
    }
}
