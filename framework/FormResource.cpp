#include "framework/FormResource.h"

#include "framework/Exception.h"

#include <cctype>
#include <limits>

namespace {

struct Token {
    enum class Kind { End, Identifier, Integer, String, Symbol };
    Kind kind = Kind::End;
    QByteArray text;
    long long integer = 0;
    int line = 1;
};

class Tokenizer {
public:
    Tokenizer(const QByteArray& text, const QString& source) : text_(text), source_(source) {}

    Token Next()
    {
        SkipBlanks();
        Token token;
        token.line = line_;
        if (at_ >= text_.size())
            return token;
        const char c = text_[at_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            token.kind = Token::Kind::Identifier;
            while (at_ < text_.size() && IsIdentifierChar(text_[at_]))
                token.text += text_[at_++];
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            token.kind = Token::Kind::Integer;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
                token.integer = token.integer * 10 + (text_[at_++] - '0');
                if (token.integer > std::numeric_limits<unsigned int>::max())
                    Fail("number too large");
            }
        } else if (c == '\'') {
            token.kind = Token::Kind::String;
            token.text = ReadString();
        } else {
            token.kind = Token::Kind::Symbol;
            token.text = QByteArray(1, c);
            ++at_;
        }
        return token;
    }

    [[noreturn]] void Fail(const QString& what) const { FailAt(line_, what); }

    [[noreturn]] void FailAt(int line, const QString& what) const
    {
        throw Exception(QString("Form layout %1, line %2: %3").arg(source_).arg(line).arg(what).toStdString());
    }

private:
    static bool IsIdentifierChar(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    }

    void SkipBlanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            if (text_[at_] == '\n')
                ++line_;
            ++at_;
        }
    }

    QByteArray ReadString()
    {
        QByteArray value;
        ++at_;
        while (true) {
            if (at_ >= text_.size() || text_[at_] == '\n')
                Fail("unterminated string");
            if (text_[at_] == '\'') {
                if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                    value += '\'';
                    at_ += 2;
                    continue;
                }
                ++at_;
                return value;
            }
            value += text_[at_++];
        }
    }

    const QByteArray& text_;
    const QString& source_;
    qsizetype at_ = 0;
    int line_ = 1;
};

class Parser {
public:
    Parser(const QByteArray& text, const QString& source) : tokens_(text, source) { Advance(); }

    FormObject Document()
    {
        FormObject root = Object();
        if (current_.kind != Token::Kind::End)
            tokens_.FailAt(current_.line, "text after the last 'end'");
        return root;
    }

private:
    void Advance() { current_ = tokens_.Next(); }

    bool IsWord(const char* word) const
    {
        return current_.kind == Token::Kind::Identifier && current_.text.compare(word, Qt::CaseInsensitive) == 0;
    }

    bool IsSymbol(char symbol) const
    {
        return current_.kind == Token::Kind::Symbol && current_.text.at(0) == symbol;
    }

    void ExpectSymbol(char symbol)
    {
        if (!IsSymbol(symbol))
            tokens_.FailAt(current_.line, QString("'%1' expected").arg(QChar(symbol)));
        Advance();
    }

    QString Identifier(const char* what)
    {
        if (current_.kind != Token::Kind::Identifier)
            tokens_.FailAt(current_.line, QString("%1 expected").arg(what));
        QString name = QString::fromLatin1(current_.text);
        Advance();
        return name;
    }

    FormObject Object()
    {
        if (!IsWord("object"))
            tokens_.FailAt(current_.line, "'object' expected");
        FormObject result;
        result.line = current_.line;
        Advance();
        result.name = Identifier("object name");
        ExpectSymbol(':');
        result.className = Identifier("class name");
        while (!IsWord("end")) {
            if (IsWord("object"))
                result.children.push_back(Object());
            else
                result.properties.push_back(Property());
        }
        Advance();
        return result;
    }

    FormProperty Property()
    {
        FormProperty result;
        result.line = current_.line;
        result.name = Identifier("property name");
        ExpectSymbol('=');
        result.value = Value();
        return result;
    }

    FormValue Value()
    {
        FormValue result;
        if (IsSymbol('-') || current_.kind == Token::Kind::Integer) {
            const bool negative = IsSymbol('-');
            if (negative)
                Advance();
            if (current_.kind != Token::Kind::Integer)
                tokens_.FailAt(current_.line, "number expected");
            const long long number = negative ? -current_.integer : current_.integer;
            if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
                tokens_.FailAt(current_.line, "number out of range");
            result.kind = FormValue::Kind::Integer;
            result.integer = static_cast<int>(number);
            Advance();
        } else if (current_.kind == Token::Kind::String) {
            result.kind = FormValue::Kind::String;
            result.text = QString::fromUtf8(current_.text);
            Advance();
        } else if (current_.kind == Token::Kind::Identifier) {
            result.kind = FormValue::Kind::Identifier;
            result.text = QString::fromLatin1(current_.text);
            Advance();
        } else if (IsSymbol('[')) {
            result.kind = FormValue::Kind::Set;
            Advance();
            while (!IsSymbol(']')) {
                if (!result.set.isEmpty())
                    ExpectSymbol(',');
                result.set << Identifier("set element");
            }
            Advance();
        } else if (IsSymbol('<')) {
            result.kind = FormValue::Kind::Collection;
            Advance();
            while (!IsSymbol('>')) {
                if (!IsWord("item"))
                    tokens_.FailAt(current_.line, "'item' expected");
                Advance();
                std::vector<FormProperty> item;
                while (!IsWord("end"))
                    item.push_back(Property());
                Advance();
                result.items.push_back(std::move(item));
            }
            Advance();
        } else {
            tokens_.FailAt(current_.line, "value expected");
        }
        return result;
    }

    Tokenizer tokens_;
    Token current_;
};

}  // namespace

FormObject ParseFormResource(const QByteArray& text, const QString& source)
{
    return Parser(text, source).Document();
}
