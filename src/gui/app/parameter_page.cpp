#include "gui/app/parameter_page.h"

#include "gui/pages/page_info.h"

namespace vk::gui {

ParameterPage::ParameterPage(int creationIndex, MainWindow* owner, QWidget* parent)
    : QWidget(parent), owner_(owner), creationIndex_(creationIndex) {
    const PageInfo& info = PageInfos().at(static_cast<std::size_t>(creationIndex));
    title_ = QString::fromLatin1(info.title);
    factoryOnly_ = info.factoryOnly;
    setObjectName(QStringLiteral("page%1").arg(creationIndex));
    BuildPage(creationIndex, this);
}

}  // namespace vk::gui
