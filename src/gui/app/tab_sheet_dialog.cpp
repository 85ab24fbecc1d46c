#include "app/tab_sheet_dialog.h"

#include "pages/page_set.h"

namespace vk::gui {

CTabSheetDialog::CTabSheetDialog(int creationIndex, CCtrlToolDlg* owner, QWidget* parent)
    : QWidget(parent), owner_(owner), creationIndex_(creationIndex) {
    const PageInfo& info = PageInfos().at(static_cast<std::size_t>(creationIndex));
    templateId_ = info.templateId;
    title_ = QString::fromLatin1(info.title);
    factoryOnly_ = info.factoryOnly;
    setObjectName(QStringLiteral("page%1").arg(creationIndex));
    BuildPage(creationIndex, this);
}

}  // namespace vk::gui
