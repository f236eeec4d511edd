#pragma once
// The settings the system keeps under its own registry key: the line colours of the line
// buttons by role, and the information and mail addresses of the About box. Read once when
// the object is created.
#include "foundation/cBase.h"
#include "foundation/cReg.h"

#include <QString>
#include <array>
#include <cstdint>

class QObject;

// Button roles: the index of a line colour.
enum ButtonRole { kRoleExit = 0, kRoleQuery = 1, kRolePrint = 2, kRoleNew = 3, kRoleAdd = 4,
                  kRoleDelete = 5, kRoleDetail = 6, kRoleClear = 7 };

class cApl {
public:
    cApl();

    void SaveRegSetting();
    // Sets the "LineColor" property of the control to the role's colour; a role outside 0..7
    // changes nothing.
    void SetButLineColor(QObject* button, int32_t role) const;
    uint32_t LineColor(int32_t role) const;          // throws std::out_of_range outside 0..7
    void SetLineColor(int32_t role, uint32_t color); // memory only; throws outside 0..7

    QString Company, User, URL, Mail, System;

    static const QString kBaseKey;                   // "HKEY_LOCAL_MACHINE\SOFTWARE\Norvex\Tavo"
    static uint32_t ParseColorRGB(const QString& text);

private:
    cBase base_;
    cReg reg_;
    std::array<uint32_t, 8> lineColor_{};
    QString hojoLine_;
};

// The global instance, created on first use; released when the main window unloads.
cApl& gApl();
void ReleaseApl();
