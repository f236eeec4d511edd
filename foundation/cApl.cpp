#include "foundation/cApl.h"

#include "platform/core/RunTimeErrors.h"

#include <QObject>
#include <QVariant>
#include <memory>
#include <stdexcept>

const QString cApl::kBaseKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvex\\Tavo");

namespace {
const char* const kRoleNames[8] = {"Exit", "Query", "Print", "New", "Add", "Delete", "Detail", "Clear"};

std::unique_ptr<cApl>& instance()
{
    static std::unique_ptr<cApl> p;
    return p;
}

void checkRole(int32_t role)
{
    if (role < 0 || role > 7)
        throw std::out_of_range(RunTimeErrorText(9).toStdString());
}
}  // namespace

cApl::cApl()
{
    for (int i = 0; i < 8; ++i)
        lineColor_[size_t(i)] = ParseColorRGB(reg_.GetRegStr(kBaseKey + QStringLiteral("\\Color\\Line\\") +
                                                             QLatin1String(kRoleNames[i])));
    URL = reg_.GetRegStr(kBaseKey + QStringLiteral("\\Info\\URL"));
    Mail = reg_.GetRegStr(kBaseKey + QStringLiteral("\\Info\\Mail"));
    hojoLine_ = reg_.GetRegStr(kBaseKey + QStringLiteral("\\Setting\\HojoLine"));
}

uint32_t cApl::ParseColorRGB(const QString& text)
{
    static const cBase base;
    auto part = [&](int from) {
        const int v = base.CvtInt(Variant(text.mid(from, 3)));
        return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v);
    };
    return part(0) + 256 * part(3) + 65536 * part(6);
}

void cApl::SaveRegSetting() { reg_.SetReg(kBaseKey + QStringLiteral("\\Setting\\HojoLine"), hojoLine_); }

void cApl::SetButLineColor(QObject* button, int32_t role) const
{
    if (button && role >= 0 && role <= 7)
        button->setProperty("LineColor", QVariant::fromValue(uint(lineColor_[size_t(role)])));
}

uint32_t cApl::LineColor(int32_t role) const
{
    checkRole(role);
    return lineColor_[size_t(role)];
}

void cApl::SetLineColor(int32_t role, uint32_t color)
{
    checkRole(role);
    lineColor_[size_t(role)] = color;
}

cApl& gApl()
{
    if (!instance())
        instance() = std::make_unique<cApl>();
    return *instance();
}

void ReleaseApl() { instance().reset(); }
