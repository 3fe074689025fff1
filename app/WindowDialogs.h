#pragma once
// The program's own dialogs beside the main window, Configuration and
// About: made when first opened (start-up need not pay for windows it does
// not show), or given by whoever made them.
#include "app/WindowParts.h"

#include <QObject>
#include <QPointer>
#include <memory>

class AboutBox;
class ConfigurationDialog;

namespace lexifol {

class MainWindowLink;

class WindowDialogs : public QObject
{
public:
    WindowDialogs(QMainWindow& window, MainWindowLink& link, const WindowState& state);
    ~WindowDialogs() override;
    void setAboutBox(AboutBox* box);
    void setConfigurationDialog(ConfigurationDialog* dialog);
    void makeWhenOpened() { makes_ = true; }
    void showConfiguration();
    void showAbout();
    bool anyOpen() const;
    void hideAll();

private:
    QMainWindow& window_;
    MainWindowLink& link_;
    const WindowState& state_;
    bool makes_ = false;
    QPointer<AboutBox> about_;
    QPointer<ConfigurationDialog> configuration_;
    std::unique_ptr<ConfigurationDialog> ownConfiguration_;
    std::unique_ptr<AboutBox> ownAbout_;
};

} // namespace lexifol
