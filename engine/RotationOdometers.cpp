// The rotation odometers: one binary digit per rotatable part kind (回転方式 0 and 1) or per piece
// of a rotatable kind (回転方式 2), the lowest number turning fastest. 0: stepped; 1: wrapped, every
// flag false again; -1: a run-time error.
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"

int16_t Engine::ReRevolution()
{
    try {
        const size_t n = size_t(PiecePartTotal);
        if (Settings.RotationMode == kRotationSimple || Settings.RotationMode == kRotationPanelo) {
            for (int16_t p = 1; p <= PartTypeCount; ++p) {
                if (!PartTbl.at(size_t(p)).Rotatable)
                    continue;
                size_t k = 1;
                while (k <= n && PieceQueue[k] != p)
                    ++k;
                if (k > n || PieceRotated[k])
                    continue;
                // The kind's digit is read from its first piece in queue order.
                for (size_t i = 1; i <= n; ++i) {
                    if (PieceQueue[i] == p)
                        PieceRotated[i] = true;
                    else if (PieceQueue[i] < p)
                        PieceRotated[i] = false;
                }
                return 0;
            }
        } else if (Settings.RotationMode == kRotationEveryPiece) {
            for (size_t k = 1; k <= n; ++k) {
                if (PartTbl.at(size_t(PieceQueue[k])).Rotatable && !PieceRotated[k]) {
                    PieceRotated[k] = true;
                    for (size_t i = 1; i < k; ++i)
                        PieceRotated[i] = false;
                    return 0;
                }
            }
        }
        for (size_t i = 1; i <= n; ++i)
            PieceRotated[i] = false;
        return 1;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("ReRevolution"));
        return -1;
    }
}

int16_t Engine::ReRevolution2()
{
    try {
        for (int16_t p = 1; p <= PartTypeCount; ++p) {
            PartRec& part = PartTbl.at(size_t(p));
            if (part.Rotatable && !part.TryRotate) {
                part.TryRotate = true;
                for (int16_t q = 1; q < p; ++q)
                    PartTbl[size_t(q)].TryRotate = false;
                return 0;
            }
        }
        for (int16_t p = 1; p <= PartTypeCount; ++p)
            PartTbl.at(size_t(p)).TryRotate = false;
        return 1;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("ReRevolution2"));
        return -1;
    }
}
