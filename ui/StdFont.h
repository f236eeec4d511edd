#pragma once
// A font object that several controls share: a change of its name, size or weight reaches
// every control that was given it (and still uses it).
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class StdFont : public QObject {
    Q_OBJECT
public:
    StdFont(const QString& name, double size, bool bold);
    ~StdFont() override;

    QString Name() const { return font_.family(); }
    void SetName(const QString& name);
    double Size() const { return font_.pointSizeF(); }
    void SetSize(double size);
    bool Bold() const { return font_.bold(); }
    void SetBold(bool bold);
    const QFont& font() const { return font_; }

    // Gives the control this font object (it follows later changes of it).
    void ApplyTo(QWidget* control);
    // Gives the control a plain font, ending its use of any font object.
    static void SetPlainFont(QWidget* control, const QFont& font);
    // The font object the control uses now, or none.
    static StdFont* Of(const QWidget* control);

private:
    void Changed();
    static void Release(QWidget* control);

    QFont font_;
    QList<QPointer<QWidget>> users_;
};
