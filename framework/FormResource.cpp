#include "FormResource.h"

#include "Exception.h"

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

    Token next()
    {
        skipBlanks();
        Token token;
        token.line = line_;
        if (at_ >= text_.size())
            return token;
        const char c = text_[at_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            token.kind = Token::Kind::Identifier;
            while (at_ < text_.size() && isIdentifierChar(text_[at_]))
                token.text += text_[at_++];
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            token.kind = Token::Kind::Integer;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
                token.integer = token.integer * 10 + (text_[at_++] - '0');
                if (token.integer > std::numeric_limits<unsigned int>::max())
                    fail("number too large");
            }
        } else if (c == '\'') {
            token.kind = Token::Kind::String;
            token.text = readString();
        } else {
            token.kind = Token::Kind::Symbol;
            token.text = QByteArray(1, c);
            ++at_;
        }
        return token;
    }

    [[noreturn]] void fail(const QString& what) const { failAt(line_, what); }

    [[noreturn]] void failAt(int line, const QString& what) const
    {
        throw Exception(QString("Form layout %1, line %2: %3").arg(source_).arg(line).arg(what).toStdString());
    }

private:
    static bool isIdentifierChar(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    }

    void skipBlanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            if (text_[at_] == '\n')
                ++line_;
            ++at_;
        }
    }

    QByteArray readString()
    {
        QByteArray value;
        ++at_;
        while (true) {
            if (at_ >= text_.size() || text_[at_] == '\n')
                fail("unterminated string");
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
    Parser(const QByteArray& text, const QString& source) : tokens_(text, source) { advance(); }

    FormObject document()
    {
        FormObject root = object();
        if (current_.kind != Token::Kind::End)
            tokens_.failAt(current_.line, "text after the last 'end'");
        return root;
    }

private:
    void advance() { current_ = tokens_.next(); }

    bool isWord(const char* word) const
    {
        return current_.kind == Token::Kind::Identifier && current_.text.compare(word, Qt::CaseInsensitive) == 0;
    }

    bool isSymbol(char symbol) const
    {
        return current_.kind == Token::Kind::Symbol && current_.text.at(0) == symbol;
    }

    void expectSymbol(char symbol)
    {
        if (!isSymbol(symbol))
            tokens_.failAt(current_.line, QString("'%1' expected").arg(QChar(symbol)));
        advance();
    }

    QString identifier(const char* what)
    {
        if (current_.kind != Token::Kind::Identifier)
            tokens_.failAt(current_.line, QString("%1 expected").arg(what));
        QString name = QString::fromLatin1(current_.text);
        advance();
        return name;
    }

    FormObject object()
    {
        if (!isWord("object"))
            tokens_.failAt(current_.line, "'object' expected");
        FormObject result;
        result.line = current_.line;
        advance();
        result.name = identifier("object name");
        expectSymbol(':');
        result.className = identifier("class name");
        while (!isWord("end")) {
            if (isWord("object"))
                result.children.push_back(object());
            else
                result.properties.push_back(property());
        }
        advance();
        return result;
    }

    FormProperty property()
    {
        FormProperty result;
        result.line = current_.line;
        result.name = identifier("property name");
        expectSymbol('=');
        result.value = value();
        return result;
    }

    FormValue value()
    {
        FormValue result;
        if (isSymbol('-') || current_.kind == Token::Kind::Integer) {
            const bool negative = isSymbol('-');
            if (negative)
                advance();
            if (current_.kind != Token::Kind::Integer)
                tokens_.failAt(current_.line, "number expected");
            const long long number = negative ? -current_.integer : current_.integer;
            if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
                tokens_.failAt(current_.line, "number out of range");
            result.kind = FormValue::Kind::Integer;
            result.integer = static_cast<int>(number);
            advance();
        } else if (current_.kind == Token::Kind::String) {
            result.kind = FormValue::Kind::String;
            result.text = QString::fromUtf8(current_.text);
            advance();
        } else if (current_.kind == Token::Kind::Identifier) {
            result.kind = FormValue::Kind::Identifier;
            result.text = QString::fromLatin1(current_.text);
            advance();
        } else if (isSymbol('[')) {
            result.kind = FormValue::Kind::Set;
            advance();
            while (!isSymbol(']')) {
                if (!result.set.isEmpty())
                    expectSymbol(',');
                result.set << identifier("set element");
            }
            advance();
        } else if (isSymbol('<')) {
            result.kind = FormValue::Kind::Collection;
            advance();
            while (!isSymbol('>')) {
                if (!isWord("item"))
                    tokens_.failAt(current_.line, "'item' expected");
                advance();
                std::vector<FormProperty> item;
                while (!isWord("end"))
                    item.push_back(property());
                advance();
                result.items.push_back(std::move(item));
            }
            advance();
        } else {
            tokens_.failAt(current_.line, "value expected");
        }
        return result;
    }

    Tokenizer tokens_;
    Token current_;
};

}  // namespace

FormObject ParseFormResource(const QByteArray& text, const QString& source)
{
    return Parser(text, source).document();
}
