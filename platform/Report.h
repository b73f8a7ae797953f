#pragma once
// The one shape of what a computation gives back: its outcome (done,
// refused, aborted, failed), a message saying why when it did not finish or
// what its last status text was, and the soft trouble met on the way as
// named notes. Each report type of the program derives from Report and adds
// its results.
//
// A note is soft trouble: the computation carried on and its results stand,
// but the user should know (a stream function that did not converge, a
// quotient set to 0 for want of a value). Notes are named by kind, kept in the
// order they were first added, and a kind is kept once.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/Progress.h"

namespace velmora {

enum class NoteKind {
    StreamNotConverged,   // base flow: a stream-function iteration took every sweep
    IterationLimit,       // base flow: the run stopped at its iteration limit
    BaseSeparation,       // drag: a negative body pressure drag was set to 0
    NoBodyForce,          // centre of pressure: no body normal force at the angle
    NoSlopeSum,           // centre of pressure: body and fin slopes add up to 0
    NoRocketLength,       // centre of pressure: a rocket length of 0
    NoBodyCentre,         // centre of pressure: the body's station forces cancel
    NoRocketCentre,       // centre of pressure: the rocket's normal forces cancel
    SourceNoNormalForce   // fin section: source panels carry no lift
};

struct Note {
    NoteKind kind;
    std::string text;

    bool operator==(const Note&) const = default;
};

class Notes {
public:
    // Adds a note unless one of its kind is already there; true when added.
    bool add(NoteKind kind, std::string text)
    {
        if (has(kind)) return false;
        notes_.push_back({kind, std::move(text)});
        return true;
    }
    // Adds those of another set, in its order, that this one lacks.
    void add(const Notes& other)
    {
        for (const Note& n : other) add(n.kind, n.text);
    }
    bool has(NoteKind kind) const
    {
        return std::any_of(notes_.begin(), notes_.end(), [kind](const Note& n) { return n.kind == kind; });
    }
    bool empty() const { return notes_.empty(); }
    std::size_t size() const { return notes_.size(); }
    std::vector<Note>::const_iterator begin() const { return notes_.begin(); }
    std::vector<Note>::const_iterator end() const { return notes_.end(); }
    // The texts, in order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const Note& n : notes_) t.push_back(n.text);
        return t;
    }

private:
    std::vector<Note> notes_;
};

struct Report {
    Outcome outcome = Outcome::Refused;
    std::string message;  // why it was refused or failed, or its closing status text
    Notes notes;          // soft trouble; the results stand
};

} // namespace velmora
