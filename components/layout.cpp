#include "layout.h"

#include "base/exception.h"

#include <cctype>

namespace {

class Parser {
  public:
    Parser(const std::string& source, const std::string& layoutName)
        : src_(source), layoutName_(layoutName) {}

    LayoutObject parseDocument() {
        skipBlank();
        LayoutObject root = parseObject();
        skipBlank();
        if (pos_ < src_.size())
            fail("text after the last 'end'");
        return root;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw Exception("Layout " + layoutName_ + ", line " + std::to_string(line_) + ": " + what);
    }

    bool atEnd() const { return pos_ >= src_.size(); }
    char peek() const { return atEnd() ? '\0' : src_[pos_]; }

    void skipBlank() {
        while (!atEnd()) {
            char c = peek();
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '#') {
                while (!atEnd() && peek() != '\n')
                    ++pos_;
            } else {
                return;
            }
        }
    }

    // Blanks within one line only: a property must stand on a line of its own.
    void skipInline() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\r')
            ++pos_;
    }

    static bool isNameStart(char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
    }
    static bool isNameChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    }

    std::string name(bool dotted) {
        if (!isNameStart(peek()))
            fail("a name was expected");
        size_t start = pos_;
        while (isNameChar(peek()) ||
               (dotted && peek() == '.' && pos_ + 1 < src_.size() && isNameStart(src_[pos_ + 1])))
            ++pos_;
        return src_.substr(start, pos_ - start);
    }

    void expect(char c) {
        skipInline();
        if (peek() != c)
            fail(std::string("'") + c + "' was expected");
        ++pos_;
    }

    void endOfLine() {
        skipInline();
        if (peek() == '#')
            while (!atEnd() && peek() != '\n')
                ++pos_;
        if (!atEnd() && peek() != '\n')
            fail("the line goes on after its value");
    }

    LayoutObject parseObject() {
        LayoutObject object;
        object.line = line_;
        if (name(false) != "object")
            fail("'object' was expected");
        skipInline();
        object.name = name(false);
        expect(':');
        skipInline();
        object.className = name(false);
        endOfLine();
        for (;;) {
            skipBlank();
            if (atEnd())
                fail("'end' of object " + object.name + " is missing");
            size_t mark = pos_;
            std::string word = name(true);
            if (word == "end") {
                endOfLine();
                return object;
            }
            if (word == "object") {
                pos_ = mark;
                object.children.push_back(parseObject());
                continue;
            }
            LayoutProperty property;
            property.name = word;
            property.line = line_;
            expect('=');
            skipInline();
            property.value = parseValue();
            endOfLine();
            object.properties.push_back(std::move(property));
        }
    }

    LayoutValue parseValue() {
        LayoutValue value;
        char c = peek();
        if (c == '\'') {
            value.kind = LayoutValue::Kind::String;
            value.text = parseString();
        } else if (c == '[') {
            value.kind = LayoutValue::Kind::Set;
            ++pos_;
            skipInline();
            if (peek() != ']') {
                for (;;) {
                    skipInline();
                    value.items.push_back(name(false));
                    skipInline();
                    if (peek() == ']')
                        break;
                    expect(',');
                }
            }
            ++pos_;
        } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            value.kind = LayoutValue::Kind::Integer;
            value.integer = parseInteger();
        } else if (isNameStart(c)) {
            value.kind = LayoutValue::Kind::Identifier;
            value.text = name(false);
        } else {
            fail("a value was expected");
        }
        return value;
    }

    std::string parseString() {
        std::string text;
        ++pos_;
        for (;;) {
            if (atEnd() || peek() == '\n')
                fail("a string is not closed");
            char c = src_[pos_++];
            if (c != '\'') {
                text += c;
            } else if (peek() == '\'') {
                text += '\'';
                ++pos_;
            } else {
                return text;
            }
        }
    }

    long long parseInteger() {
        bool negative = false;
        if (peek() == '-') {
            negative = true;
            ++pos_;
        }
        int base = 10;
        if (peek() == '$') {
            base = 16;
            ++pos_;
        }
        size_t start = pos_;
        long long value = 0;
        while (std::isxdigit(static_cast<unsigned char>(peek()))) {
            char c = static_cast<char>(std::tolower(static_cast<unsigned char>(peek())));
            int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10;
            if (digit >= base)
                break;
            if (value > (0x7fffffffffffLL))
                fail("a number is too large");
            value = value * base + digit;
            ++pos_;
        }
        if (pos_ == start || isNameChar(peek()))
            fail("a number was expected");
        return negative ? -value : value;
    }

    const std::string& src_;
    const std::string& layoutName_;
    size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

LayoutObject parseLayout(const std::string& source, const std::string& layoutName) {
    return Parser(source, layoutName).parseDocument();
}
