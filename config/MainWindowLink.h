#pragma once
// What the Configuration dialog may ask of the main window, and no more.
namespace lexifol {

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Shows or hides the main window's normalisation preview picture.
    virtual void setPreviewVisible(bool visible) = 0;
};

} // namespace lexifol
