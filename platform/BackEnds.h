#pragma once
// The one shape of every replaceable part (the sound output, the mixer
// device, the MCI driver, the lyrics database): back ends registered under
// names, and a choice, names separated by commas, tried in order until one
// opens. Options follow a name after its first colon ("null:untimed",
// "lrclib:http://127.0.0.1:8080") and go to that back end's opener. Tests
// choose with the guards of tests/support/ScopedBackends.h.
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

template <class Part, class... Arguments>
class BackEnds {
public:
    // Opens its back end with the options given after the name; an empty
    // Part when it cannot.
    using Opener = std::function<Part(std::string_view options, Arguments... arguments)>;

    BackEnds(std::initializer_list<std::pair<const std::string, Opener>> builtIn, std::string choice)
        : openers_(builtIn), choice_(std::move(choice))
    {
    }

    // The first chosen back end that opens; an empty Part when none does or
    // a name is unknown. Openers run outside the lock: connecting to a
    // server may take a while.
    Part open(Arguments... arguments) const
    {
        const std::string names = chosen();
        for (std::string_view rest = names; !rest.empty();) {
            const auto comma = rest.find(',');
            const std::string_view name = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            const auto colon = name.find(':');
            const Opener opener = openerOf(name.substr(0, colon));
            if (!opener)
                continue;
            if (Part part = opener(colon == std::string_view::npos ? std::string_view() : name.substr(colon + 1),
                                   arguments...))
                return part;
        }
        return Part();
    }

    // Parts opened from now on come from these names; answers the choice
    // made before.
    std::string choose(std::string names)
    {
        std::lock_guard lock(mutex_);
        return std::exchange(choice_, std::move(names));
    }

    // Registers opener under name (an empty one removes the name); answers
    // the opener the name had before, empty when it had none.
    Opener add(const std::string& name, Opener opener)
    {
        std::lock_guard lock(mutex_);
        Opener previous;
        if (const auto found = openers_.find(name); found != openers_.end()) {
            previous = std::move(found->second);
            openers_.erase(found);
        }
        if (opener)
            openers_.emplace(name, std::move(opener));
        return previous;
    }

    std::string chosen() const
    {
        std::lock_guard lock(mutex_);
        return choice_;
    }

private:
    Opener openerOf(std::string_view name) const
    {
        std::lock_guard lock(mutex_);
        const auto found = openers_.find(name);
        return found == openers_.end() ? Opener() : found->second;
    }

    mutable std::mutex mutex_;
    std::map<std::string, Opener, std::less<>> openers_;
    std::string choice_;
};
