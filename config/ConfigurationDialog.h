#pragma once
// The Configuration dialog: dictionary shortcuts, the second-index page and
// each dictionary's keyboard layout.
#include "config/MainWindowLink.h"
#include "base/SaveReport.h"
#include "library/XkbLayouts.h"
#include <QByteArrayList>
#include <QDialog>

class QComboBox;
class QLabel;
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

class ConfigurationDialog : public QDialog
{
    Q_OBJECT
public:
    // `catalogue` is the catalogue captions in order, read once here; later
    // catalogue moves do not reach this dialog.
    ConfigurationDialog(const QStringList& catalogue, lexifol::ProfileFile* settings, QWidget* parent = nullptr);

    QTabWidget* tabs = nullptr;
    QWidget* shortcutsTab = nullptr;   // "Shortcuts"
    QWidget* secondIndexTab = nullptr; // "Second index"
    QWidget* keyboardTab = nullptr;    // "Keyboard"

    // Shortcuts
    QComboBox* shortcutKey = nullptr;
    QLineEdit* shortcutDictionary = nullptr;
    QListWidget* dictionaryList = nullptr;
    QPushButton* saveButton = nullptr;  // Save
    QPushButton* closeButton = nullptr; // Close

    // Second index
    QComboBox* indexDictionary = nullptr;
    QPlainTextEdit* rulesEditor = nullptr;
    QListWidget* acceptedRuleList = nullptr;
    QPushButton* addCheckButton = nullptr; // Add&Check
    QPushButton* startButton = nullptr;    // Start
    QToolButton* clearRulesButton = nullptr;
    QToolButton* clearEditorButton = nullptr;
    QToolButton* checkOrderButton = nullptr;
    QToolButton* checkSecondOrderButton = nullptr;
    QCheckBox* previewCheck = nullptr;
    QPushButton* closeIndexButton = nullptr; // Close

    // Keyboard: the layout typed in, per dictionary, from the system's list.
    QComboBox* keyboardDictionary = nullptr;
    QComboBox* keyboardLayout = nullptr;
    QPushButton* keyboardSaveButton = nullptr;
    QLabel* keyboardNote = nullptr;

    // The main window, reached through its small interface only.
    void setMainWindow(lexifol::MainWindowLink* link) { mainWindow_ = link; }

    void shortcutKeyChanged();
    void pickDictionary();
    void saveShortcut();
    void CloseClick();

    // Second index and order checks.
    QByteArrayList AcceptedRules;
    void addAndCheckRules();   // Add&Check
    void clearAcceptedRules(); // clear the accepted rules
    void clearRuleEditor();    // clear the editor
    void startSecondIndex();   // Start
    void checkFirstIndexOrder() { checkOrder(false); }
    void checkSecondIndexOrder() { checkOrder(true); }

private:
    void buildShortcutsPage();
    void buildSecondIndexPage();
    void buildKeyboardPage(const QStringList& catalogue);
    QString descriptorOf(const QString& name) const;
    void showKeyboardLayout();
    void saveKeyboardLayout();
    void checkOrder(bool secondIndex);
    bool buildSecondIndex(const QString& name);
    void tell(const QString& text, bool error);

    lexifol::ProfileFile* settings_;
    lexifol::SaveReport saveReport_;
    lexifol::MainWindowLink* mainWindow_ = nullptr;
    QString failure_; // why the last build stopped, for the error report
    QList<lexifol::XkbLayoutChoice> layouts_;
};
