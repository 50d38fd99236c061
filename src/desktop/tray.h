#pragma once

#include <QIcon>
#include <QString>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace tarvelo::desktop {

// The longest tip the tray shows, in bytes of the locale's encoding (UTF-8).
constexpr int kTrayTipMaxBytes = 62;

// `text` cut to at most kTrayTipMaxBytes bytes of UTF-8, at the end of the last whole
// character that fits.
QString cutTrayTip(const QString &text);

// The program's one entry in the notification area.
class TrayIcon
{
public:
    explicit TrayIcon(QIcon icon);
    ~TrayIcon();

    // Shows the icon with this tip: the first call adds the entry, later ones update it.
    void setTrayTip(const QString &text);
    // Removes the entry if there is one.
    void removeTrayIcon();

    bool present() const { return icon_ != nullptr; }
    QString tip() const;
    QSystemTrayIcon *entry() const { return icon_.get(); }

    // The menu the entry offers on a right click.
    void setMenu(QMenu *menu) { menu_ = menu; }

private:
    QIcon image_;
    QMenu *menu_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

} // namespace tarvelo::desktop
