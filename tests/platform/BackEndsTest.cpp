// The one shape of a replaceable part: the chosen names tried in order,
// options handed to their back end, and the test guards giving back what
// they replaced.
#include "platform/BackEnds.h"
#include "tests/support/ScopedBackends.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A part that remembers which back end opened it and with what.
using Opened = std::unique_ptr<std::string>;
using Parts = BackEnds<Opened, int>;

Parts::Opener named(const std::string& name)
{
    return [name](std::string_view options, int argument) {
        return std::make_unique<std::string>(name + "(" + std::string(options) + ")" + std::to_string(argument));
    };
}

// Opens nothing, as a sound server that is not there.
Opened failing(std::string_view, int) { return nullptr; }

std::string openedBy(const Parts& parts)
{
    const Opened opened = parts.open(7);
    return opened ? *opened : "nothing";
}

}  // namespace

TEST(BackEnds, TheFirstChosenNameThatOpensGivesThePartWithItsOptions)
{
    const struct {
        const char* choice;
        const char* opened;
    } rows[] = {
        {"a", "a()7"},
        {"b:x=1:y", "b(x=1:y)7"},
        {"down,b", "b()7"},
        {"unknown,a:z", "a(z)7"},
        {"down,unknown", "nothing"},
        {"", "nothing"},
    };
    Parts parts({{"a", named("a")}, {"b", named("b")}, {"down", &failing}}, "a");
    for (const auto& row : rows) {
        parts.choose(row.choice);
        EXPECT_EQ(openedBy(parts), row.opened) << row.choice;
    }
}

TEST(BackEnds, GuardsChooseAndStandInForTheirScopeAndGiveBackWhatTheyReplaced)
{
    Parts parts({{"a", named("a")}, {"stand-in", named("built-in stand-in")}}, "a");
    {
        const ScopedBackEnd outer(parts, named("outer"));
        EXPECT_EQ(openedBy(parts), "outer()7");
        {
            const ScopedBackEnd chosen(parts, std::string("stand-in:inner,a"));
            EXPECT_EQ(openedBy(parts), "outer(inner)7");
            const ScopedBackEnd inner(parts, named("inner"));
            EXPECT_EQ(openedBy(parts), "inner()7");
        }
        EXPECT_EQ(parts.chosen(), "stand-in");
        EXPECT_EQ(openedBy(parts), "outer()7") << "the outer stand-in is back";
    }
    EXPECT_EQ(parts.chosen(), "a");
    parts.choose("stand-in");
    EXPECT_EQ(openedBy(parts), "built-in stand-in()7") << "the back end the guard replaced is back";
}
