#include <gtest/gtest.h>

#include "printing/Letterhead.h"
#include "texts/LetterHead.h"

// How the bank lines and the form of address reach the paper.
TEST(Letterhead, BankLinesAndSalutationAsPrinted)
{
    struct Case {
        QString typed;
        QString iban;  // as printed in the IBAN slot
        QString bic;   // as printed in the BIC slot
    };
    const Case cases[] = {
        {"DE89 3704 0044 0532 0130 00", "IBAN: DE89 3704 0044 0532 0130 00",
         "DE89 3704 0044 0532 0130 00"},
        {"de89370400440532013000", "IBAN: de89370400440532013000", "de89370400440532013000"},
        {"COBADEFFXXX", "COBADEFFXXX", "BIC: COBADEFFXXX"},
        {"COBADEFF", "COBADEFF", "BIC: COBADEFF"},
        {"IBAN DE89 3704 0044 0532 0130 00", "IBAN DE89 3704 0044 0532 0130 00",
         "IBAN DE89 3704 0044 0532 0130 00"},  // labelled by the person
        {"BIC: COBADEFFXXX", "BIC: COBADEFFXXX", "BIC: COBADEFFXXX"},
        {"37040044", "37040044", "37040044"},  // an old bank code stays as typed
        {"Kto. 532013000", "Kto. 532013000", "Kto. 532013000"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(LabelledIban(c.typed), c.iban);
        EXPECT_EQ(LabelledBic(c.typed), c.bic);
    }

    for (const char* undecided :
         {"Frau / Herrn / Firma", "Herrn / Frau / Firma", "Frau/Herr/Firma"})
        EXPECT_EQ(PrintedSalutation(QString::fromUtf8(undecided)), QString()) << undecided;
    for (const char* form : {"Frau", "Herrn", "Firma", "Familie", "Frau und Herrn"})
        EXPECT_EQ(PrintedSalutation(QString::fromUtf8(form)), QString::fromUtf8(form)) << form;

    // A letter to an undecided addressee keeps the name on its line under an empty one.
    LetterHead head;
    head.salutation = QStringLiteral("Frau / Herrn / Firma");
    head.firstName = QStringLiteral("Erika");
    head.name = QString::fromUtf8("Weiß");
    EXPECT_EQ(tlvheader::AddresseeLines(head),
              (QStringList{QString(), QString::fromUtf8("Erika Weiß")}));
}
