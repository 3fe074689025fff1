#pragma once
// The Configuration dialog: dictionary shortcuts and the second-index page.
#include "config/MainWindowLink.h"
#include "index/SaveReport.h"
#include <QByteArrayList>
#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class QPlainTextEdit;
class QCheckBox;
class QTabWidget;

namespace lexifol {
class ProfileFile;
}

class TForm2 : public QDialog
{
    Q_OBJECT
public:
    // `catalogue` is the catalogue captions in order, read once here; later
    // catalogue moves do not reach this dialog.
    TForm2(const QStringList& catalogue, lexifol::ProfileFile* settings, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;   // "Shortcuts"
    QWidget* TabSheet2 = nullptr;   // "Second index"

    // Shortcuts
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button2 = nullptr;  // Save
    QPushButton* Button1 = nullptr;  // Close

    // Second index
    QComboBox* ComboBox2 = nullptr;
    QPlainTextEdit* TntMemo1 = nullptr;
    QListWidget* TntListBox1 = nullptr;
    QPushButton* Button3 = nullptr;  // Add&Check
    QPushButton* Button4 = nullptr;  // Start
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button5 = nullptr;  // Close

    // The main window, reached through its small interface only.
    void setMainWindow(lexifol::MainWindowLink* link) { mainWindow_ = link; }

    void ComboBox1Change();
    void ListBox1DblClick();
    void Button2Click();
    void CloseClick();

    // Second index and order checks.
    QByteArrayList AcceptedRules;
    void Button3Click();        // Add&Check
    void SpeedButton1Click();   // clear the accepted rules
    void SpeedButton2Click();   // clear the editor
    void Button4Click();        // Start
    void SpeedButton3Click() { checkOrder(false); }
    void SpeedButton4Click() { checkOrder(true); }

private:
    void buildShortcutsPage();
    void buildSecondIndexPage();
    void checkOrder(bool secondIndex);
    bool buildSecondIndex(const QString& name);
    void tell(const QString& text, bool error);

    lexifol::ProfileFile* settings_;
    lexifol::SaveReport saveReport_;
    lexifol::MainWindowLink* mainWindow_ = nullptr;
    QString failure_;          // why the last build stopped, for the error report
};
