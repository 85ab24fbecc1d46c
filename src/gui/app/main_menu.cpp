#include "gui/app/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace vk::gui {
namespace {

struct MenuItemDef {
    const char* menu;
    const char* submenu;  // null: directly in the menu
    const char* text;
    int command;
    const char* keys = nullptr;  // a shortcut, in QKeySequence's portable text
    const char* tip = nullptr;
};

constexpr const char* kNotYet = "Not available in this version of the tool yet.";
constexpr const char* kToolTipBase = "baseToolTip";

// In menu bar order; a menu or submenu is made when its first item names it.
constexpr MenuItemDef kMenuItems[] = {
    {"&File", nullptr, "&Open", kMenuOpen, "Ctrl+O", "Loads a camera setting file."},
    {"&File", nullptr, "&Compare with file...", kMenuCompareWithFile, nullptr,
     "Lists the values of a camera setting file that differ from the camera's."},
    {"&File", "Save &as", "&All Data", kMenuSaveAllData},
    {"&File", "Save &as", "&Shipping Data", kMenuSaveShippingData},
    {"&File", nullptr, "E&xit", kMenuExit, "Ctrl+Q"},
    {"&Settings", nullptr, "&Reload", kMenuReload, "F5",
     "Reads every value from the camera again."},
    {"&Settings", nullptr, "Re&connect", kMenuReconnect, nullptr,
     "Opens the same port again and reads every value from the camera."},
    {"&Settings", nullptr, "&Load settings", kMenuLoadSettings},
    {"&Settings", nullptr, "&Store settings", kMenuStoreSettings},
    {"&Utility", nullptr, "Edit &user id", kMenuEditUserId},
    {"&Utility", nullptr, "Edit &camera id", kMenuEditCameraId},
    {"&LUT", nullptr, "&Open LUT file", kMenuOpenLutFile},
    {"&LUT", nullptr, "&Save LUT file", kMenuSaveLutFile},
    {"&LUT", nullptr, "&Load all LUT table", kMenuLoadAllLutTable},
    {"&Help", nullptr, "&About this application", kMenuAbout},
    {"&Help", nullptr, "Open &Communication Dialog", kMenuOpenCommunication},
};

}  // namespace

MainMenu::MainMenu(QWidget* owner) : QObject(owner), bar_(new QMenuBar(owner)) {
    std::map<QString, QMenu*> menus;
    for (const MenuItemDef& item : kMenuItems) {
        QMenu*& menu = menus[item.menu];
        if (!menu) menu = bar_->addMenu(item.menu);
        QMenu* target = menu;
        if (item.submenu) {
            const QString key = QString(item.menu) + "/" + item.submenu;
            QMenu*& sub = menus[key];
            if (!sub) sub = menu->addMenu(item.submenu);
            target = sub;
        }
        if (item.command == kMenuExit) target->addSeparator();
        target->setToolTipsVisible(true);
        QAction* action = target->addAction(item.text);
        action->setData(item.command);
        if (item.keys) {
            action->setShortcut(QKeySequence(QString(item.keys)));
            // Also while the focus is in a page or no menu was ever opened.
            action->setShortcutContext(Qt::WindowShortcut);
            owner->addAction(action);
        }
        const QString tip = item.tip ? QString(item.tip) : QString();
        action->setProperty(kToolTipBase, tip);
        action->setStatusTip(tip);
        action->setEnabled(false);
        action->setToolTip(tip.isEmpty() ? QString(kNotYet) : tip + "\n" + kNotYet);
        actions_[item.command] = action;
    }
}

void MainMenu::SetMenuEnabled(int position, bool enabled, const QString& reason) {
    QMenu* menu = TopMenu(position);
    if (!menu) return;
    // The menu widget's own state, which its entry in the bar follows: enabling the window
    // again after a long operation must not enable it.
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
    const QString why = enabled ? QString() : reason;
    menu->menuAction()->setToolTip(why);
    menu->menuAction()->setStatusTip(why);
    menu->setToolTip(why);
}

void MainMenu::SetHandler(int exchange, std::function<void()> handler) {
    QAction* action = Action(exchange);
    if (!action) return;
    disconnect(action, &QAction::triggered, this, nullptr);
    connect(action, &QAction::triggered, this, std::move(handler));
    action->setEnabled(true);
    action->setToolTip(action->property(kToolTipBase).toString());
}

QAction* MainMenu::Action(int exchange) const {
    const auto it = actions_.find(exchange);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainMenu::TopMenu(int position) const {
    const auto actions = bar_->actions();
    return position >= 0 && position < actions.size() ? actions[position]->menu() : nullptr;
}

}  // namespace vk::gui
