#include "platform/gui/GuiApplication.h"

#include "platform/gui/Handler.h"

#include <QWidget>

bool GuiApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        const QWidget* w = receiver && receiver->isWidgetType() ? static_cast<QWidget*>(receiver)->window() : nullptr;
        const QString module = w && !w->objectName().isEmpty() ? w->objectName() : QStringLiteral("Application");
        ReportHandlerError(DescribeError(e), module, QStringLiteral("EventHandler"));
    } catch (...) {
        ReportHandlerError(QStringLiteral("Unknown error"), QStringLiteral("Application"), QStringLiteral("EventHandler"));
    }
    return false;
}
