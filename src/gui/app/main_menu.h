#pragma once

#include <QObject>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vk::gui {

// Command ids of the main window's menu items.
enum MenuCommand : int {
    kMenuOpen = 32781,
    kMenuCompareWithFile = 32790,
    kMenuSaveAllData = 32786,
    kMenuSaveShippingData = 32787,
    kMenuExit = 2,
    kMenuReload = 32775,
    kMenuLoadSettings = 32777,
    kMenuStoreSettings = 32776,
    kMenuEditUserId = 32773,
    kMenuEditCameraId = 32778,
    kMenuOpenLutFile = 32779,
    kMenuSaveLutFile = 32780,
    kMenuLoadAllLutTable = 32784,
    kMenuAbout = 32774,
    kMenuOpenCommunication = 32785,
    kMenuReconnect = 32791,
};

// Position of the Utility menu in the menu bar; usable only in factory mode.
inline constexpr int kUtilityMenuPosition = 2;

// The main window's menu bar, built from one table. An item is greyed until a handler is
// set for its command (its tooltip says so); whoever owns a feature sets its handlers when it
// is set up. The items' shortcuts work from anywhere in the owner window.
class MainMenu : public QObject {
    Q_OBJECT
public:
    explicit MainMenu(QWidget* owner);

    void SetHandler(int command, std::function<void()> handler);

    QMenuBar* Bar() const { return bar_; }
    QAction* Action(int command) const;
    // The top-level menu at a position of the menu bar.
    QMenu* TopMenu(int position) const;
    // Greys a top-level menu or enables it again; the reason shows in its items' tooltips.
    void SetMenuEnabled(int position, bool enabled, const QString& reason);

private:
    QMenuBar* bar_;
    std::map<int, QAction*> actions_;
};

}  // namespace vk::gui
