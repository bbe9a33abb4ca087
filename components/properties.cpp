#include "properties.h"

#include "base/exception.h"

#include <cstring>

namespace {

struct NamedColor {
    const char* name;
    TColor value;
};
constexpr NamedColor namedColors[] = {
    {"clBlack", clBlack},
    {"clRed", clRed},
    {"clWhite", 0xFFFFFF},
    {"clWindowText", clWindowText},
    {"clBtnFace", clBtnFace},
    {"clWindow", static_cast<TColor>(0x80000005)},
    {"clBtnText", static_cast<TColor>(0x80000012)},
};

} // namespace

bool PropertyReader::in(const char* prefix) const {
    size_t n = strlen(prefix);
    return name_.size() > n + 1 && name_.compare(0, n, prefix) == 0 && name_[n] == '.';
}

PropertyReader PropertyReader::sub() const {
    return PropertyReader(property_, target_, handlers_, name_.substr(name_.find('.') + 1));
}

void PropertyReader::fail(const std::string& what) const {
    throw Exception("Layout line " + std::to_string(property_.line) + ", property " +
                    property_.name + " of " + target_.Name() + " (" + target_.className() +
                    "): " + what);
}

void PropertyReader::unknown() const {
    fail("there is no such property");
}

long long PropertyReader::integer() const {
    if (value().kind != LayoutValue::Kind::Integer)
        fail("a number was expected");
    return value().integer;
}

int PropertyReader::coordinate() const {
    long long v = integer();
    if (v < -32768 || v > 32767)
        fail("the number is out of range");
    return static_cast<int>(v);
}

std::string PropertyReader::string() const {
    if (value().kind != LayoutValue::Kind::String)
        fail("a quoted text was expected");
    return value().text;
}

std::string PropertyReader::identifier() const {
    if (value().kind != LayoutValue::Kind::Identifier)
        fail("a name was expected");
    return value().text;
}

bool PropertyReader::boolean() const {
    return oneOf({"False", "True"}) == 1;
}

TColor PropertyReader::color() const {
    if (value().kind == LayoutValue::Kind::Integer)
        return static_cast<TColor>(value().integer);
    std::string name = identifier();
    for (const auto& c : namedColors)
        if (name == c.name)
            return c.value;
    fail("there is no colour " + name);
}

std::vector<std::string> PropertyReader::set() const {
    if (value().kind != LayoutValue::Kind::Set)
        fail("a set in brackets was expected");
    return value().items;
}

int PropertyReader::oneOf(std::initializer_list<const char*> names) const {
    std::string name = identifier();
    int index = 0;
    for (const char* candidate : names) {
        if (name == candidate)
            return index;
        ++index;
    }
    fail("the value " + name + " is not known");
}

TNotifyEvent PropertyReader::notifyEvent() const {
    std::string name = identifier();
    TNotifyEvent event = handlers_.notify(name);
    if (!event)
        fail("the form has no handler " + name + " for this event");
    return event;
}

TMouseMoveEvent PropertyReader::mouseMoveEvent() const {
    std::string name = identifier();
    TMouseMoveEvent event = handlers_.mouseMove(name);
    if (!event)
        fail("the form has no handler " + name + " for this event");
    return event;
}
