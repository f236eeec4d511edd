#pragma once
// The print confirmation dialog: an icon, a bold prompt (wrapped when too wide), an optional
// second prompt and a centred row of up to three line buttons chosen by the style's bits:
// 4 "プレビュー" (code 4), 2 "印　刷" (code 2), 1 "キャンセル" (code 1); &H100 puts the focus on
// the second button, &H200 on the third. DialogShow lays it out for its texts, shows it
// modally and returns the code of the button that closed it (1 also for Esc and the close box).
// Use one instance per print: the result is not reset.
#include "platform/gui/Form.h"

#include <QPointer>
#include <array>
#include <cstdint>

class LineButton;
class QLabel;

class fDlgPrint : public Form {
    Q_OBJECT
public:
    fDlgPrint();

    void setDialogTitle(const QString& title) { DialogTitle = title; }
    void setDialogPrompt(const QString& prompt) { DialogPrompt = prompt; }
    void setDialogSubPrompt(const QString& prompt) { DialogSubPrompt = prompt; }
    void setDialogStyle(int32_t style) { DialogStyle = style; }
    int32_t DialogShow();

    int16_t buttonCount() const { return m_ButtonCount; }

    // The controls, once loaded.
    QPointer<QLabel> ImgMark, lblPrompt, lblSubPrompt;
    std::array<QPointer<LineButton>, 3> cmdButton;

protected:
    void createControls(FormWindow* w) override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    void cmdButton_Click(int index);
    void Form_KeyDown(int& keyCode, int& shift);

    int16_t m_ButtonCount = 0;
    int32_t m_Result = 0;
    int32_t DialogStyle = 7;
    std::array<int32_t, 6> m_ReturnCode{};
    int16_t m_Margin;
    int32_t m_MaxWidth;
    int32_t m_FrameWidth = 0, m_FrameHeight = 0;
    QString DialogPrompt, DialogSubPrompt;
    QString DialogTitle = QStringLiteral("Print Dialog");
};
