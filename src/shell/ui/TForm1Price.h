#pragma once

#include <QObject>
#include <functional>

#include "masterdata/MasterGridLayout.h"
#include "masterdata/PricePanel.h"

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TSGridView;
class UserPort;

// The main window's price panel under the search row of the medication and service
// workspaces, the services' standard quantity panel (the service quantity, kept in the
// options file from one run to the next) and factor field, and the medications' "100%"
// button, which is the record card's surcharge switch too.
class TForm1Price : public QObject {
public:
    struct Host {
        UserPort& port;
        std::function<PriceSettings()> settings;
        TSGridView* medication;
        TSGridView* services;
        QLineEdit* medQuantity;
        QLineEdit* serviceQuantity;
    };
    explicit TForm1Price(Host host);

    // The quantity panels, the factor field and the button go into the search row, the
    // price line into the column at the position given (under the row).
    void Build(QBoxLayout* row, QBoxLayout* column, int at, QWidget* parent);
    // Shows what belongs to the workspace shown (hides all for others).
    void ShowFor(bool medications, bool services);
    // After a search or a grid key: the price of the record selected now.
    void SelectionMoved();
    // Enter in the search field.
    void HidePanel();
    // The record card's own "100%" button follows this one and the other way round.
    void PairWith(QPushButton* cardButton);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString SelectedLine(bool services) const;
    void Refresh();

    Host m_host;
    PricePanel m_panel;
    bool m_services = false;
    bool m_shown = false;
    QWidget* m_medQuantityPanel = nullptr;
    QWidget* m_stdQuantityPanel = nullptr;
    QWidget* m_factorPanel = nullptr;
    QLineEdit* m_factor = nullptr;
    QPushButton* m_hundred = nullptr;
    QLabel* m_price = nullptr;
};
