// The property reader alone: small layouts, a component of the test's own and a
// handler table of the test's own, no form.
#include "components/layout.h"
#include "components/properties.h"

#include "base/exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TThing : public TComponent {
  public:
    using TComponent::TComponent;
    const char* className() const override { return "TThing"; }
};

// Knows one handler of each kind; counts the calls that reach them.
class Handlers : public HandlerTable {
  public:
    TNotifyEvent notify(const std::string& name) const override {
        if (name != "ThingClick")
            return {};
        return [this](TObject*) { ++clicks; };
    }
    TMouseMoveEvent mouseMove(const std::string& name) const override {
        if (name != "ThingMove")
            return {};
        return [this](TObject*, TShiftState, int x, int) { lastX = x; };
    }
    mutable int clicks = 0;
    mutable int lastX = -1;
};

// The properties of a one-object layout.
std::vector<LayoutProperty> propertiesOf(const std::string& body) {
    return parseLayout("object thing: TThing\n" + body + "end\n", "TEST").properties;
}

struct Fixture {
    explicit Fixture(const std::string& body) : properties(propertiesOf(body)) {
        thing.setName("thing");
    }
    PropertyReader reader(size_t i = 0) const {
        return PropertyReader(properties.at(i), thing, handlers);
    }
    std::vector<LayoutProperty> properties;
    TThing thing{nullptr};
    Handlers handlers;
};

TEST(PropertyReader, ReadsEachKindOfValue) {
    Fixture f("  A = -11\n  B = 'It''s'\n  C = clRed\n  D = True\n  E = [x, y]\n"
              "  F = $FF\n  G = bsSingle\n  H = 32767\n");
    EXPECT_EQ(f.reader(0).integer(), -11);
    EXPECT_EQ(f.reader(0).coordinate(), -11);
    EXPECT_EQ(f.reader(1).string(), "It's");
    EXPECT_EQ(f.reader(2).color(), clRed);
    EXPECT_EQ(f.reader(2).identifier(), "clRed");
    EXPECT_TRUE(f.reader(3).boolean());
    EXPECT_EQ(f.reader(4).set(), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(f.reader(5).color(), 0xFF);
    EXPECT_EQ(f.reader(6).oneOf({"bsNone", "bsSingle"}), 1);
    EXPECT_EQ(f.reader(7).coordinate(), 32767);
}

TEST(PropertyReader, DottedNamesAreReadBelowTheirSubObject) {
    Fixture f("  Font.Color = clRed\n  Picture.Bitmap.Name = x\n  Fontish = 1\n");
    EXPECT_TRUE(f.reader(0).in("Font"));
    EXPECT_TRUE(f.reader(0).sub().is("Color"));
    EXPECT_EQ(f.reader(0).sub().color(), clRed);
    EXPECT_TRUE(f.reader(1).in("Picture"));
    EXPECT_TRUE(f.reader(1).sub().in("Bitmap"));
    EXPECT_TRUE(f.reader(1).sub().sub().is("Name"));
    EXPECT_FALSE(f.reader(2).in("Font"));
}

TEST(PropertyReader, EventsReachTheHandlersOfTheTable) {
    Fixture f("  OnClick = ThingClick\n  OnMouseMove = ThingMove\n");
    TNotifyEvent click = f.reader(0).notifyEvent();
    ASSERT_TRUE(click);
    click(&f.thing);
    click(&f.thing);
    EXPECT_EQ(f.handlers.clicks, 2);
    TMouseMoveEvent move = f.reader(1).mouseMoveEvent();
    ASSERT_TRUE(move);
    move(&f.thing, 0, 7, 9);
    EXPECT_EQ(f.handlers.lastX, 7);
}

TEST(PropertyReader, AValueThatDoesNotFitNamesTheLineThePropertyAndTheComponent) {
    struct Case {
        const char* body;
        void (*read)(const PropertyReader&);
        const char* says;
    };
    const Case cases[] = {
        {"  Left = 'x'\n", [](const PropertyReader& r) { r.integer(); }, "a number was expected"},
        {"  Left = 40000\n", [](const PropertyReader& r) { r.coordinate(); }, "out of range"},
        {"  Caption = x\n", [](const PropertyReader& r) { r.string(); }, "a quoted text"},
        {"  Color = clPuce\n", [](const PropertyReader& r) { r.color(); }, "no colour clPuce"},
        {"  Visible = Maybe\n", [](const PropertyReader& r) { r.boolean(); }, "Maybe is not known"},
        {"  Icons = x\n", [](const PropertyReader& r) { r.set(); }, "a set in brackets"},
        {"  OnClick = Nobody\n", [](const PropertyReader& r) { r.notifyEvent(); },
         "no handler Nobody"},
        {"  OnClick = ThingMove\n", [](const PropertyReader& r) { r.notifyEvent(); },
         "no handler ThingMove"},
        {"  OnMouseMove = ThingClick\n", [](const PropertyReader& r) { r.mouseMoveEvent(); },
         "no handler ThingClick"},
        {"  Wobble = 1\n", [](const PropertyReader& r) { r.unknown(); }, "no such property"},
    };
    for (const Case& c : cases) {
        Fixture f(c.body);
        std::string name = f.properties.at(0).name;
        try {
            c.read(f.reader());
            ADD_FAILURE() << "no exception for " << c.body;
        } catch (const Exception& e) {
            EXPECT_EQ(
                e.Message().rfind("Layout line 2, property " + name + " of thing (TThing): ", 0),
                0u)
                << e.Message();
            EXPECT_NE(e.Message().find(c.says), std::string::npos) << e.Message();
        }
    }
}

} // namespace
