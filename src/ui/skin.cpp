#include "ui/skin.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace tarvelo::ui {

namespace {

// Colour scheme 2, olive green.
const QColor kControlFrame(164, 185, 127);
const QColor kFace(236, 233, 216);
const QColor kHotFrame(232, 160, 48);
const QColor kSelection(147, 160, 112);
const QColor kFaceTop(255, 255, 255);
const QColor kFaceBottom(214, 222, 190);
const QColor kPressedTop(205, 212, 182);
const QColor kPressedBottom(240, 241, 230);

class XpSkinStyle final : public QProxyStyle
{
public:
    XpSkinStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {}

    QPalette standardPalette() const override
    {
        QPalette p(Qt::black, kFace, Qt::white, kControlFrame.darker(130), kControlFrame, Qt::black,
                   Qt::white, Qt::white, kFace);
        p.setColor(QPalette::Highlight, kSelection);
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::Button, kFace);
        p.setColor(QPalette::ButtonText, Qt::black);
        p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(QPalette::ToolTipText, Qt::black);
        p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(161, 161, 146));
        p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(161, 161, 146));
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(161, 161, 146));
        return p;
    }

    void polish(QWidget *widget) override
    {
        QProxyStyle::polish(widget);
        // Hover drawing of buttons and scroll bars needs hover events.
        widget->setAttribute(Qt::WA_Hover);
    }
    using QProxyStyle::polish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        switch (element) {
        case PE_PanelButtonCommand:
        case PE_PanelButtonBevel:
        case PE_PanelButtonTool:
            drawButtonPanel(option, painter);
            return;
        case PE_FrameLineEdit:
            painter->save();
            painter->setPen(kControlFrame);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        case PE_FrameFocusRect:
            // Buttons show no dotted focus frame; the list box shows its own current row.
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ScrollBar || control == CC_Slider) {
            // The flat olive frame around scroll bars; the slider's channel gets it too.
            painter->save();
            painter->setPen(kControlFrame);
            painter->setBrush(Qt::NoBrush);
            if (control == CC_ScrollBar) {
                painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            } else {
                const QRect groove = subControlRect(CC_Slider, option, SC_SliderGroove, widget)
                                         .adjusted(0, 0, -1, -1);
                painter->drawRect(groove);
            }
            painter->restore();
        }
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        // Mnemonic ampersands stay as they are in captions.
        if (hint == SH_UnderlineShortcut)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    static void drawButtonPanel(const QStyleOption *option, QPainter *painter)
    {
        const bool pressed = option->state & (State_Sunken | State_On);
        const bool hot = (option->state & State_MouseOver) && (option->state & State_Enabled);
        const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, pressed ? kPressedTop : kFaceTop);
        fill.setColorAt(1, pressed ? kPressedBottom : kFaceBottom);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(fill);
        painter->setPen(QPen(hot && !pressed ? kHotFrame : kControlFrame, 1));
        painter->drawRoundedRect(r, 2.5, 2.5);
        painter->restore();
    }
};

} // namespace

void applyXpSkin(QApplication &app)
{
    auto *style = new XpSkinStyle;
    QApplication::setStyle(style);
    app.setPalette(style->standardPalette());
}

} // namespace tarvelo::ui
