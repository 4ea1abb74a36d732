#include "model/Words.h"

#include <gtest/gtest.h>

TEST(Words, GetWordPieces)
{
    const QString sp = QStringLiteral(" ");
    struct Case { int n; const char* text; const char* delim; const char* expected; };
    const Case cases[] = {
        {1, "a b c", " ", "b"},       {2, "a b c", " ", "c"},   {3, "a b c", " ", "nil"},
        {0, "abc", " ", "nil"},       {0, "", " ", "nil"},      {5, "a b", " ", "nil"},
        {0, "a b c", " ", "a"},       {1, "a  b", " ", ""},     {2, "a  b", " ", "b"},
        {1, "a b ", " ", "b"},        {2, "a b ", " ", ""},     {0, "a:b", ":", "a"},
        {1, "a b", "ab", "nil"},      {0, "a b", "", "nil"},    {-1, "a b", " ", "nil"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetWord(c.n, QString::fromLatin1(c.text), QString::fromLatin1(c.delim)),
                  QString::fromLatin1(c.expected))
            << c.n << " of '" << c.text << "'";
    (void)sp;
}

TEST(Words, CountChar)
{
    EXPECT_EQ(CountChar(QString(), QChar(':')), 0);
    EXPECT_EQ(CountChar(QStringLiteral("board:a:b::"), QChar(':')), 4);
    EXPECT_EQ(CountChar(QStringLiteral("AaA"), QChar('a')), 1);
}
