#include "app/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vk::gui {
namespace {

struct MenuItemDef {
    const char* menu;
    const char* submenu;  // null: directly in the menu
    const char* text;
    int command;
};

// In menu bar order; a menu or submenu is made when its first item names it.
constexpr MenuItemDef kMenuItems[] = {
    {"&File", nullptr, "&Open", kMenuOpen},
    {"&File", "Save &as", "&All Data", kMenuSaveAllData},
    {"&File", "Save &as", "&Shipping Data", kMenuSaveShippingData},
    {"&File", nullptr, "E&xit", kMenuExit},
    {"&Settings", nullptr, "&Reload", kMenuReload},
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
        QAction* action = target->addAction(item.text);
        action->setData(item.command);
        action->setEnabled(false);
        actions_[item.command] = action;
    }
}

void MainMenu::SetHandler(int command, std::function<void()> handler) {
    QAction* action = Action(command);
    if (!action) return;
    disconnect(action, &QAction::triggered, this, nullptr);
    connect(action, &QAction::triggered, this, std::move(handler));
    action->setEnabled(true);
}

QAction* MainMenu::Action(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainMenu::TopMenu(int position) const {
    const auto actions = bar_->actions();
    return position >= 0 && position < actions.size() ? actions[position]->menu() : nullptr;
}

}  // namespace vk::gui
