#pragma once

#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "cards/CardSettings.h"

class KeyValueSettings;
class QAction;
class QBoxLayout;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class KarteiHeader;
class KarteiLastMeds;
class KarteiPickList;
class KarteiRechner;
class TSGrid;
class TSGridView;
class UserPort;

namespace card {
class CardWorkspace;
class CardEntryForm;
class CardGridKeys;
struct EditorKey;
struct EditorState;
struct GridAnswer;
struct GridState;
}  // namespace card

// What the main window hands the record card workspace: the card workspace with the card
// grid it works on, the pick lists' tables and the options file.
struct KarteiSetup {
    card::CardWorkspace* workspace = nullptr;
    TSGrid* cardGrid = nullptr;
    TSGrid* medications = nullptr;
    TSGrid* services = nullptr;
    QString dataFolder;
    KeyValueSettings* options = nullptr;  // the options file
    int textColumnWidth = 0;              // "wBeh"; 0 keeps the default
    bool lineStop = false;                // "automat. Stop" as stored
};

// The `Kartei` workspace: the card grid bound to the card workspace and its entry form,
// the header display, the pick lists, the calculator, the last medications, the buttons
// and the card menu. Rules live in card::CardWorkspace, card::CardEntryForm and
// card::CardGridKeys; this class forwards keys and clicks and shows what they hold.
class KarteiPanel : public QWidget {
    Q_OBJECT
public:
    KarteiPanel(UserPort& port, const KarteiSetup& setup, QWidget* parent = nullptr);
    ~KarteiPanel() override;

    card::CardWorkspace& Workspace() const { return *m_ws; }
    card::CardEntryForm& Form() const;
    TSGrid& CardGrid() const { return *m_grid; }
    TSGridView* GridView() const { return m_view; }
    KarteiHeader* Header() const { return m_header; }
    KarteiPickList* Medications() const { return m_medList; }
    KarteiPickList* Services() const { return m_serviceList; }
    KarteiRechner* Calculator() const { return m_calculator; }
    KarteiLastMeds* LastMedications() const { return m_lastMeds; }
    QMenu* Menu() const { return m_menu; }
    QPushButton* Button(const QString& name) const { return m_buttons.value(name); }
    QAction* Action(const QString& name) const { return m_actions.value(name); }
    QCheckBox* LineStopBox() const { return m_lineStopBox; }

    // Entering the workspace: the current card of the customer in that record of the
    // customer table. False when no card could be shown (the workspace is not entered).
    bool OpenCurrentCard(int customerRecord, const CardSettings& settings);
    // Leaving the workspace or closing the window: a modified card is asked about, then
    // the grid is cleared.
    void Finish();
    bool CardOpen() const { return m_cardOpen; }
    // Shows the card again after someone changed it through the workspace (a close).
    void Refresh();

    // The B/S changed flag drives the "B/S buchen" button; the main timer blinks it.
    bool BookingPending() const { return m_bookingPending; }
    void SetBookingHighlight(bool on);

    // Buttons and menu items.
    void TakeOverMedication();
    void TakeOverService();
    void Summation();
    void SwitchNetGross();
    void SwitchCurrency();
    void PreviousCard();
    void NextCard();
    void EnterPayment();
    // The reminder boxes "1." and "2.": every click issues the reminder (which offers a
    // reprint when it was issued before); the boxes then show the card again.
    void Remind(int level);
    // "Freigeben".
    void Release();
    void BookBsLine();
    void CopyCard();
    void InsertCard();
    void ClearCard();
    void SetCalculatorMode(bool on);
    void CalculatorToRemark();
    // A text handed over from the patient notes goes into the current line.
    void InsertText(const QString& text);
    void SetHundredPercent(bool on);
    void SetMacroMode(bool on);
    void SetLineStop(bool on);

    std::function<void()> OpenVatOptions;      // " MwSt"
    std::function<void()> OpenDunningOptions;  // "Zahlungsziele"
    // The dunning of the card shown: a reminder of level 1 or 2, and its release.
    std::function<void(int level)> IssueReminder;
    std::function<void()> ReleaseCard;
    // The line stop: measuring the description column, and the test of a text against it.
    std::function<void()> MeasureLineStop;
    std::function<bool(const QString&)> LineStopExceeds;

signals:
    // "Drucken": the print dialog of the card.
    void PrintRequested();
    // Another card (or none) is shown; the window shows its file.
    void cardShown();
    // The B/S changed flag was set or cleared.
    void bookingPendingChanged(bool pending);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGrid(const KarteiSetup& setup);
    void BuildButtons(QWidget* parent, QBoxLayout* layout);
    void BuildMenu();
    void RequestPrint();
    QPushButton* AddButton(QBoxLayout* layout, const QString& name, const QString& text,
                           const QString& hint, std::function<void()> run);
    QAction* AddAction(const QString& name, const QString& text, std::function<void()> run,
                       const QKeySequence& key = {});

    // Grid binding (KarteiGridBinding.cpp).
    card::GridState GridNow() const;
    card::EditorState EditorNow() const;
    // Carries out the steps of a key's answer; returns whether the key was handled.
    bool Apply(const card::GridAnswer& answer);
    void BeginEdit(const QString& text, int cursor, bool selectAll);
    bool RunEditorKey(const card::EditorKey& key);
    void EndEdit();
    void SyncCell();
    // Ends the cell editor and hands the edited cell to the card; false without a card.
    bool TakeEditedCell();
    void RunBooking(int row, bool fromMark);

    // Shows the form's rows in the grid (keeping its window), then its state.
    void ShowCard();
    void ShowRow(int row);
    void ShowState();
    void CheckBookingPending();
    void ReadQuantities();
    void UpdateCaptions();
    void LineStopChanged();

    UserPort& m_port;
    KarteiSetup m_setup;
    TSGrid* m_grid;
    card::CardWorkspace* m_ws;
    std::unique_ptr<card::CardGridKeys> m_keys;
    TSGridView* m_view = nullptr;
    KarteiHeader* m_header = nullptr;
    KarteiPickList* m_medList = nullptr;
    KarteiPickList* m_serviceList = nullptr;
    KarteiRechner* m_calculator = nullptr;
    KarteiLastMeds* m_lastMeds = nullptr;
    QCheckBox* m_lineStopBox = nullptr;
    QMenu* m_menu = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    QHash<QString, QAction*> m_actions;
    QPointer<QLineEdit> m_editor;  // the grid's cell editor while a cell is edited
    bool m_cardOpen = false;
    bool m_bookingPending = false;
};
