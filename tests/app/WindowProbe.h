#pragma once
#include "app/About.h"
#include "app/MainWidgets.h"
#include "app/MainWindow.h"
#include "app/OtherStrip.h"
#include "app/StatusLine.h"
#include "app/TextSearchPane.h"
#include "app/WindowDialogs.h"
#include "config/ConfigurationDialog.h"
#include "pageview/PageView.h"

#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

// The main window's controls, found by their object names as a user's tools
// find them; none is reached through the window's members.
inline lexifol::MainControls Ui(const QMainWindow& w)
{
    lexifol::MainControls c;
    const auto find = [&w]<class T>(T*& slot, const char* name) {
        slot = w.findChild<T*>(QLatin1StringView(name));
        if (!slot)
            qFatal("no control named %s", name);
    };
    find(c.topPanel, "topPanel");
    find(c.catalogueList, "catalogueList");
    find(c.moveUpButton, "moveUpButton");
    find(c.moveDownButton, "moveDownButton");
    find(c.titleBox, "titleBox");
    find(c.previewButton, "previewButton");
    find(c.normalisedLabel, "normalisedLabel");
    find(c.searchBox, "searchBox");
    find(c.backButton, "backButton");
    find(c.forwardButton, "forwardButton");
    find(c.addBookmarkButton, "addBookmarkButton");
    find(c.findButton, "findButton");
    find(c.annotationButton, "annotationButton");
    find(c.listTabs, "listTabs");
    find(c.bookmarkTab, "bookmarkTab");
    find(c.historyTab, "historyTab");
    find(c.indexTab, "indexTab");
    find(c.indexList, "indexList");
    find(c.historyList, "historyList");
    find(c.bookmarkList, "bookmarkList");
    find(c.pageView, "pageView");
    find(c.statusStrip, "statusStrip");
    find(c.status, "status");
    find(c.configurationAction, "configurationAction");
    find(c.helpMenu, "helpMenu");
    find(c.helpAction, "helpAction");
    find(c.keyboardLayoutAction, "keyboardLayoutAction");
    find(c.aboutAction, "aboutAction");
    c.textSearch = w.findChild<lexifol::TextSearchPane*>();
    c.otherDictionaries = w.findChild<lexifol::OtherStrip*>();
    return c;
}
