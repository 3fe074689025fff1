#include "app/WindowDialogs.h"
#include "app/About.h"
#include "config/ConfigurationDialog.h"

namespace lexifol {

WindowDialogs::WindowDialogs(QMainWindow& window, MainWindowLink& link, const WindowState& state)
    : window_(window)
    , link_(link)
    , state_(state)
{ }

// The dialogs go before the services their handlers use.
WindowDialogs::~WindowDialogs() = default;

void WindowDialogs::setAboutBox(AboutBox* box)
{
    about_ = box;
}
void WindowDialogs::setConfigurationDialog(ConfigurationDialog* dialog)
{
    configuration_ = dialog;
}

void WindowDialogs::showConfiguration()
{
    if (!configuration_ && makes_) {
        ownConfiguration_ = std::make_unique<ConfigurationDialog>(state_.catalogue.names(), state_.settings.get(),
                                                                  &window_);
        ownConfiguration_->setMainWindow(&link_);
        configuration_ = ownConfiguration_.get();
    }
    if (configuration_) {
        configuration_->show();
        configuration_->raise();
        configuration_->activateWindow();
    }
}

void WindowDialogs::showAbout()
{
    if (!about_ && makes_) {
        ownAbout_ = std::make_unique<AboutBox>(&window_);
        ownAbout_->setFolders(state_.places.describe());
        about_ = ownAbout_.get();
    }
    if (about_)
        about_->show();
}

bool WindowDialogs::anyOpen() const
{
    return (configuration_ && configuration_->isVisible()) || (about_ && about_->isVisible());
}

void WindowDialogs::hideAll()
{
    if (about_)
        about_->hide();
    if (configuration_)
        configuration_->hide();
}

} // namespace lexifol
