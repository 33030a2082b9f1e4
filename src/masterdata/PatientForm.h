#pragma once

#include <QStringList>

#include "common/FormField.h"

// The patient panel of the record edit dialog: free fields of a new patient of a card.
class PatientForm : public FormBase {
public:
    enum Id { PatName, PatTierart, PatRasse, PatImpf, PatGebDat, PatSex, PatKastr, PatNr, kCount };

    PatientForm() : FormBase(kCount)
    {
        const int lengths[kCount] = {50, 50, 50, 50, 50, 3, 3, 0};
        for (int i = 0; i < kCount; ++i)
            m_fields[i].maxLength = lengths[i];
    }

    QStringList Values() const
    {
        QStringList values;
        for (int i = 0; i < kCount; ++i)
            values << m_fields[i].text;
        return values;
    }
};
