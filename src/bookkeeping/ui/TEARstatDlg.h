#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class TEARstatDlgForm;

// "Einnahmen/Ausgaben - Ergebnis": shows the form's sums; a click on the period switches
// between the view's day or month and the year; "Drucken" prints, "Schließen" closes.
class TEARstatDlg : public QDialog {
    Q_OBJECT
public:
    TEARstatDlg(TEARstatDlgForm& form, std::function<void()> print, QWidget* parent = nullptr);

    QLabel* Value(const char* name) const;
    QPushButton* PrintButton() const { return m_print; }
    // The period label the person clicks.
    QLabel* PeriodLabel() const { return m_period; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();

    TEARstatDlgForm& m_form;
    std::function<void()> m_printResult;
    QLabel* m_period = nullptr;
    QLabel* m_business = nullptr;
    QLabel* m_account = nullptr;
    QLabel* m_resultLabel = nullptr;
    std::array<std::array<QLabel*, 9>, 2> m_values{};  // income, expenses: row * 3 + column
    std::array<QLabel*, 3> m_result{};
    QPushButton* m_print = nullptr;
};
