#pragma once

#include <QDialog>

#include "download/TSuchenNachDlgForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// The search and download dialog. It only binds: edits and clicks go to the form, and the
// widgets show what the form holds. Downloads run while the dialog stays responsive.
class TSuchenNachDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSuchenNachDlg(TSuchenNachDlgForm& form, QWidget* parent = nullptr);
    ~TSuchenNachDlg() override;

    QRadioButton* SourceButton(download::ListSource source) const;
    QLineEdit* PathEdit() const { return m_path; }
    QLineEdit* UserEdit() const { return m_user; }
    QLineEdit* PasswordEdit() const { return m_password; }
    QCheckBox* ManufacturerBox() const { return m_confirm; }
    QListWidget* InfoList() const { return m_info; }
    QPushButton* DownloadButton() const { return m_downloadButton; }
    QPushButton* StopButton() const { return m_stopButton; }
    QPushButton* OkButton() const { return m_okButton; }

    void accept() override;
    // Closing stops a running download; the files in the folder stay as they were.
    void reject() override;

private:
    QWidget* BuildSearchPage();
    QWidget* BuildDownloadPage();
    void Refresh();

    TSuchenNachDlgForm& m_form;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_searchPage = nullptr;
    QWidget* m_downloadPage = nullptr;
    QLabel* m_searchLabel = nullptr;
    QLineEdit* m_searchEdit = nullptr;
    QLabel* m_choiceLabel = nullptr;
    QComboBox* m_choice = nullptr;
    QLabel* m_searchInfo = nullptr;
    QRadioButton* m_wdt = nullptr;
    QRadioButton* m_barsoi = nullptr;
    QLabel* m_captionLine = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_confirm = nullptr;
    QListWidget* m_info = nullptr;
    QPushButton* m_downloadButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    bool m_refreshing = false;
    bool m_wasBusy = false;
};
