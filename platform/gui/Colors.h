#pragma once
// Colours of the windows: the run time's colour values (platform/core/ColorValues.h) as QColor,
// and the back and fore colours of controls.
#include "platform/core/ColorValues.h"

#include <QColor>
#include <cstdint>

class QWidget;

QColor ToQColor(uint32_t color);           // resolves system colours
uint32_t FromQColor(const QColor& color);

// The back and fore colours of a control, set as the run time sets them: the value is kept
// as given (a system colour stays one) and the widget's palette shows its resolved colour.
void SetBackColor(QWidget* control, uint32_t color);
uint32_t BackColor(const QWidget* control);
void SetForeColor(QWidget* control, uint32_t color);
uint32_t ForeColor(const QWidget* control);
