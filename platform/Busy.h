#pragma once
// The busy guard: while a long computation lets events run, commands that
// would start or change a computation are refused. One guard per session.
#include <string>

namespace velmora {

class BusyGuard {
public:
    bool active() const { return depth_ > 0; }
    const std::string& what() const { return what_; }

    // Marks a computation as running for the life of the scope.
    class Scope {
    public:
        Scope(BusyGuard& g, std::string what) : g_(g)
        {
            if (g_.depth_++ == 0) g_.what_ = std::move(what);
        }
        ~Scope()
        {
            if (--g_.depth_ == 0) g_.what_.clear();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BusyGuard& g_;
    };

private:
    int depth_ = 0;
    std::string what_;
};

// The panel-2 text of a refused command.
inline std::string busyRefusal(const BusyGuard& g)
{
    return "Please wait: " + (g.what().empty() ? std::string("a computation") : g.what()) + " is in progress.";
}

} // namespace velmora
