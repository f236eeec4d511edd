#include "ui/NewFrmCtrl.h"

#include "ui/cFrmCtrl.h"

std::unique_ptr<cFrmCtrl> NewFrmCtrl(Form& form)
{
    auto ctrl = std::make_unique<cFrmCtrl>();
    ctrl->SetControlBackColor(1, 0xFFFFFF);
    ctrl->SetControlBackColor(4, 0xC0FFFF);
    ctrl->SetControlBackColor(3, 0x808080);
    ctrl->SetControlBackColor(2, 0xC0C0C0);
    ctrl->SetControlForeColor(1, 0);
    ctrl->SetControlForeColor(4, 0);
    ctrl->SetControlForeColor(3, 0xFFFFFF);
    ctrl->SetControlForeColor(2, 0);
    ctrl->SetCaptionForeColor(1, 0);
    ctrl->SetCaptionBackColor(1, 0x8000000F);
    ctrl->SetCaptionForeColor(2, 0x00FF00);
    ctrl->SetCaptionBackColor(2, 0x8000000F);
    ctrl->CaptionFontFocus->SetSize(10);
    ctrl->CaptionFontNormal->SetSize(10);
    ctrl->ControlForm(&form);
    ctrl->FormControlsStyle(1);
    return ctrl;
}
