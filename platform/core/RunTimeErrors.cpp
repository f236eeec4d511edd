#include "platform/core/RunTimeErrors.h"

#include <cerrno>

QString RunTimeErrorText(int number)
{
    static const struct {
        int number;
        const char16_t* text;
    } kTexts[] = {
        {5, u"プロシージャの呼び出し、または引数が不正です。"},
        {9, u"インデックスが有効範囲にありません。"},
        {53, u"ファイルが見つかりません。"},
        {57, u"デバイス I/O エラーです。"},
        {61, u"ディスクの空き容量が不足しています。"},
        {67, u"ファイルが多すぎます。"},
        {70, u"書き込みできません。"},
        {75, u"パス名が無効です。"},
        {76, u"パスが見つかりません。"},
        {91, u"オブジェクト変数または With ブロック変数が設定されていません。"},
        {380, u"プロパティの値が不正です。"},
    };
    for (const auto& t : kTexts) {
        if (t.number == number)
            return QString::fromUtf16(t.text);
    }
    return QString();
}

int FileErrorNumber(int systemError)
{
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return 76;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return 70;
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 75;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 61;
    case EMFILE:
    case ENFILE:
        return 67;
    default:
        return 57;
    }
}
