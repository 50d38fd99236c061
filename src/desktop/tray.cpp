#include "desktop/tray.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace tarvelo::desktop {

QString cutTrayTip(const QString &text)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const char32_t c = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                                   text.at(end + 1).isLowSurrogate()
                               ? QChar::surrogateToUcs4(text.at(end), text.at(end + 1))
                               : text.at(end).unicode();
        const int units = c > 0xFFFF ? 2 : 1;
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + size > kTrayTipMaxBytes)
            break;
        bytes += size;
        end += units;
    }
    return text.left(end);
}

TrayIcon::TrayIcon(QIcon icon)
    : image_(std::move(icon))
{}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setTrayTip(const QString &text)
{
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(image_);
        if (menu_)
            icon_->setContextMenu(menu_);
        icon_->setToolTip(cutTrayTip(text));
        icon_->show();
        return;
    }
    icon_->setToolTip(cutTrayTip(text));
}

void TrayIcon::removeTrayIcon()
{
    if (!icon_)
        return;
    icon_->hide();
    icon_.reset();
}

QString TrayIcon::tip() const
{
    return icon_ ? icon_->toolTip() : QString();
}

} // namespace tarvelo::desktop
