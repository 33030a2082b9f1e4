#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "masterdata/BookingForm.h"
#include "masterdata/ClipboardPort.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/PatientForm.h"
#include "support/ScriptedUserPort.h"

namespace {

struct FakeClipboard : ClipboardPort {
    QString text;
    QString Text() const override { return text; }
    void SetText(const QString& t) override { text = t; }
};

}  // namespace

TEST(CustomerForm, FieldLengthsAndDefaults)
{
    ScriptedUserPort port;
    CustomerForm f(EditMode::Insert, port);
    EXPECT_EQ(Type(f, CustomerForm::KundeName, QString(41, 'n')), "n");
    EXPECT_EQ(f.Text(CustomerForm::KundeName).size(), 40);
    EXPECT_EQ(Type(f, CustomerForm::KundeBem, QString(61, 'b')), "b");
    EXPECT_EQ(Type(f, CustomerForm::KundeMail, QString(87, 'm')), "m");
    EXPECT_EQ(Type(f, CustomerForm::KundeTel, "0611\t"), "\t");  // no TAB into a record
    EXPECT_EQ(f.Text(CustomerForm::KundeAnrede), "Frau / Herrn / Firma");
    EXPECT_EQ(f.NumberText(), "( Wird automatisch vergeben )");
}

TEST(CustomerForm, PharmacyMarkerTypedLeftAndConfirmed)
{
    ScriptedUserPort port;
    CustomerForm f(EditMode::Insert, port);
    Type(f, CustomerForm::KundeBem, "  ( A");
    EXPECT_FALSE(f.Apotheke());
    Type(f, CustomerForm::KundeBem, " ) Meier");
    EXPECT_TRUE(f.Apotheke());
    EXPECT_TRUE(f.Leave(CustomerForm::KundeBem));
    EXPECT_EQ(f.Text(CustomerForm::KundeBem), "Meier");
    EXPECT_TRUE(f.Apotheke());  // typing never unchecks
    EXPECT_TRUE(f.CheckOk());
    EXPECT_EQ(f.Text(CustomerForm::KundeBem), "(A) Meier");

    CustomerForm g(EditMode::Insert, port);
    g.SetText(CustomerForm::KundeBem, "(A)(A) x (A) y");
    g.SetApotheke(false);
    EXPECT_TRUE(g.Leave(CustomerForm::KundeBem));
    EXPECT_EQ(g.Text(CustomerForm::KundeBem), "x (A) y");  // only leading marks go
    EXPECT_TRUE(g.Apotheke());
    g.SetApotheke(false);
    EXPECT_TRUE(g.CheckOk());
    EXPECT_EQ(g.Text(CustomerForm::KundeBem), "x (A) y");
}

TEST(CustomerForm, MailCheckOnLeaving)
{
    ScriptedUserPort port;
    CustomerForm f(EditMode::Insert, port);
    for (const char* good : {"", "a@b", "info.praxis"}) {
        Retype(f, CustomerForm::KundeMail, good);
        EXPECT_TRUE(f.Leave(CustomerForm::KundeMail)) << good;
    }
    EXPECT_TRUE(port.messages.isEmpty());
    Retype(f, CustomerForm::KundeMail, "praxis");
    EXPECT_FALSE(f.Leave(CustomerForm::KundeMail));
    EXPECT_EQ(port.LastText(), "Keine gültige Mail-Adresse !");
    EXPECT_EQ(port.messages.last().kind, MsgKind::Error);
    EXPECT_EQ(f.TakeFocusRequest(), CustomerForm::KundeMail);
}

TEST(CustomerForm, AnredeStepsUpTheList)
{
    ScriptedUserPort port;
    CustomerForm f(EditMode::Insert, port);
    f.SetText(CustomerForm::KundeAnrede, "Familie");
    QStringList seen;
    for (int i = 0; i < 7; ++i) {
        f.StepAnrede(true);
        seen << f.Text(CustomerForm::KundeAnrede);
    }
    EXPECT_EQ(seen, (QStringList{"Frau und Herrn", "Fräulein", "Firma", "Herrn", "Frau",
                                 "Frau / Herrn / Firma", "Frau / Herrn / Firma"}));
    f.StepAnrede(false);
    EXPECT_EQ(f.Text(CustomerForm::KundeAnrede), "Frau");
    f.SetText(CustomerForm::KundeAnrede, "Dr.");
    f.StepAnrede(true);
    EXPECT_EQ(f.Text(CustomerForm::KundeAnrede), "Dr.");
}

TEST(CustomerForm, CopyAndPasteThroughTheClipboard)
{
    ScriptedUserPort port;
    CustomerForm from(EditMode::Edit, port);
    from.Load({"Müller", "Anna", "Weg 1", "65183 Wiesbaden", "0042", "0611", "Frau", "(A) Hof",
               "003", "a@b.de"});
    EXPECT_EQ(from.NumberText(), "0042");
    EXPECT_TRUE(from.Apotheke());
    FakeClipboard clip;
    from.Copy(clip);
    CustomerForm to(EditMode::Insert, port);
    ASSERT_TRUE(to.Paste(clip));
    EXPECT_EQ(to.Cells("0050", "000"),
              (QStringList{"Müller", "Anna", "Weg 1", "65183 Wiesbaden", "0050", "0611", "Frau",
                           "(A) Hof", "000", "a@b.de"}));
    EXPECT_TRUE(to.Apotheke());

    clip.text = "Irgendein Text";
    EXPECT_FALSE(to.Paste(clip));
    EXPECT_EQ(to.Text(CustomerForm::KundeName), "Müller");
    clip.text = "[Talven-Kunde]\nName=" + QString(45, 'x') + "\nVorname=a\tb\n";
    ASSERT_TRUE(to.Paste(clip));
    EXPECT_EQ(to.Text(CustomerForm::KundeName), QString(40, 'x'));
    EXPECT_EQ(to.Text(CustomerForm::KundeVorname), "a b");
    EXPECT_EQ(to.Text(CustomerForm::KundeStrasse), "");
    EXPECT_EQ(to.Text(CustomerForm::KundeAnrede), "Frau / Herrn / Firma");
}

TEST(PatientForm, Lengths)
{
    PatientForm f;
    EXPECT_EQ(Type(f, PatientForm::PatSex, "M??x"), "x");
    EXPECT_EQ(Type(f, PatientForm::PatName, QString(51, 'p')), "p");
    EXPECT_EQ(Type(f, PatientForm::PatNr, QString(80, '1')), "");
    EXPECT_EQ(f.Values().size(), 8);
}

TEST(BookingForm, AmountsFollowTheEditableOne)
{
    BookingForm f(EditMode::Insert, Settings(), true, QDate(2026, 6, 1));
    EXPECT_EQ(f.Text(BookingForm::EinnUst), "19,0");
    EXPECT_EQ(f.Text(BookingForm::EinnZArt), "B");
    EXPECT_EQ(f.KundeCaption(), "Kunde / Bezeichnung");
    EXPECT_FALSE(f.KeyPress(BookingForm::EinnBrutto, '1'));
    Type(f, BookingForm::EinnNetto, "100");
    EXPECT_EQ(f.Text(BookingForm::EinnBrutto), "119,00");
    f.SwitchNetBrutto();
    EXPECT_EQ(f.TakeFocusRequest(), BookingForm::EinnBrutto);
    EXPECT_FALSE(f.KeyPress(BookingForm::EinnNetto, '1'));
    Retype(f, BookingForm::EinnBrutto, "107");
    EXPECT_EQ(f.Text(BookingForm::EinnNetto), "89,92");
    Retype(f, BookingForm::EinnUst, "7");
    EXPECT_EQ(f.Text(BookingForm::EinnNetto), "100,00");
    Retype(f, BookingForm::EinnUst, ",");
    EXPECT_EQ(f.Text(BookingForm::EinnNetto), "0,00");  // VAT no number
    Retype(f, BookingForm::EinnUst, "7");
    Retype(f, BookingForm::EinnBrutto, "");
    EXPECT_EQ(f.Text(BookingForm::EinnNetto), "");  // amount no number
    EXPECT_TRUE(f.Leave(BookingForm::EinnBrutto));
    EXPECT_EQ(f.Text(BookingForm::EinnBrutto), "0,00");
    EXPECT_EQ(f.Text(BookingForm::EinnNetto), "0,00");
    EXPECT_EQ(BookingForm(EditMode::Insert, Settings(), false, {}).KundeCaption(),
              "Lieferant / Bezeichnung");
}

TEST(BookingForm, ACancellationTakesAMinusInFront)
{
    BookingForm f(EditMode::Insert, Settings(), true, QDate());
    const int net = BookingForm::EinnNetto;
    EXPECT_EQ(Type(f, net, "1-"), "-");
    EXPECT_EQ(Retype(f, net, "-100000-0"), "-0") << "six digits after the minus, one minus";
    EXPECT_EQ(f.Text(BookingForm::EinnBrutto), "-119000,00");
    Retype(f, net, "-10,5");
    f.Field(net).Select(0, 0);
    EXPECT_FALSE(f.KeyPress(net, '1')) << "nothing before the minus";
    EXPECT_TRUE(f.Leave(net));
    EXPECT_EQ(f.Text(net), "-10,50");
    EXPECT_EQ(f.Text(BookingForm::EinnBrutto), "-12,50");
}

TEST(BookingForm, PaymentKindKeys)
{
    BookingForm f(EditMode::Insert, Settings(), true, QDate());
    const int id = BookingForm::EinnZArt;
    EXPECT_EQ(Type(f, id, "s"), "");
    EXPECT_EQ(f.Text(id), "S");
    EXPECT_EQ(Type(f, id, "xA1"), "xA1");
    EXPECT_EQ(f.Text(id), "S");
    Type(f, id, "ü");
    EXPECT_EQ(f.Text(id), "Ü");
    QStringList steps;
    for (int i = 0; i < 3; ++i) {
        f.KeyPress(id, ' ');
        steps << f.Text(id);
    }
    EXPECT_EQ(steps, (QStringList{"B", "S", "Ü"}));
    EXPECT_TRUE(f.KeyPress(id, kKeyBackspace));
    EXPECT_EQ(f.Text(id), "");
}

TEST(BookingForm, OkChecksDateAndVat)
{
    ScriptedUserPort port;
    BookingForm f(EditMode::Insert, Settings(), true, QDate(2026, 6, 15));
    Type(f, BookingForm::EinnDatum, "1.6.26");
    EXPECT_TRUE(f.CheckOk(port));
    EXPECT_EQ(f.Text(BookingForm::EinnDatum), "01.06.2026");
    for (const char* bad : {"1.7.26", "31.6.2026", "1.6.126", ""}) {
        Retype(f, BookingForm::EinnDatum, bad);
        EXPECT_FALSE(f.CheckOk(port)) << bad;
        EXPECT_EQ(port.LastText(), "Datum ausserhalb gewählter Liste!");
        EXPECT_EQ(f.TakeFocusRequest(), BookingForm::EinnDatum);
    }
    Retype(f, BookingForm::EinnDatum, "30.06.2026");
    Retype(f, BookingForm::EinnUst, "5");
    EXPECT_FALSE(f.CheckOk(port));  // "5" is not written as "5,0"
    EXPECT_EQ(port.LastText(), "Fehler: Umsatzsteuer ungültig!");
    EXPECT_EQ(f.TakeFocusRequest(), BookingForm::EinnUst);
    Retype(f, BookingForm::EinnUst, "5,0");  // a previous rate counts
    Type(f, BookingForm::EinnKunde, "Kasse");
    f.SetApotheke(true);
    EXPECT_TRUE(f.CheckOk(port));
    EXPECT_EQ(f.Text(BookingForm::EinnKunde), "(A) Kasse");
    EXPECT_TRUE(f.CheckOk(port));
    EXPECT_EQ(f.Text(BookingForm::EinnKunde), "(A) Kasse");

    BookingForm any(EditMode::Insert, Settings(), true, QDate());  // not from a journal
    Type(any, BookingForm::EinnDatum, "3.1.2024");
    EXPECT_TRUE(any.CheckOk(port));
}

TEST(BookingForm, EditModeKeepsTheDate)
{
    ScriptedUserPort port;
    BookingForm f(EditMode::Edit, Settings(), true, QDate(2026, 6, 1));
    f.Load({"02.06.2026", "0042/003", "Meier", "10,00", "19,0", "11,90", "B"});
    EXPECT_FALSE(f.KeyPress(BookingForm::EinnDatum, '1'));
    EXPECT_TRUE(f.CheckOk(port));
    EXPECT_EQ(f.Text(BookingForm::EinnBrutto), "11,90");
}

TEST(BookingForm, AProposalWithOneAmountComputesTheOther)
{
    struct Case {
        const char* net;
        const char* gross;
        const char* wantNet;
        const char* wantGross;
        bool netEditable;
    };
    for (const Case& c :
         {Case{"10,00", "", "10,00", "11,90", true}, Case{"", "11,90", "10,00", "11,90", false}}) {
        BookingForm f(EditMode::Insert, Settings(), true, QDate());
        f.Load({"02.06.2026", "0042/003", "Meier", c.net, "19,0", c.gross, "B"});
        EXPECT_EQ(f.Text(BookingForm::EinnNetto), c.wantNet) << c.net;
        EXPECT_EQ(f.Text(BookingForm::EinnBrutto), c.wantGross) << c.net;
        EXPECT_EQ(f.NetEditable(), c.netEditable) << c.net;
    }
}
