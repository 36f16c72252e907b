#pragma once
#include <cstddef>
#include <optional>
#include <vector>

// Undo and redo by whole states: before each edit the state it changes is
// pushed; Undo hands back the last one and keeps the present for Redo. A
// new edit forgets what could be redone. At most depth states are kept.
template <typename State>
class UndoStack {
public:
    explicit UndoStack(std::size_t depth = 100) : depth_(depth) {}

    void Push(State before) {
        undo_.push_back(std::move(before));
        if (undo_.size() > depth_) undo_.erase(undo_.begin());
        redo_.clear();
    }
    std::optional<State> Undo(State now) { return Move(undo_, redo_, std::move(now)); }
    std::optional<State> Redo(State now) { return Move(redo_, undo_, std::move(now)); }
    void Clear() { undo_.clear(), redo_.clear(); }
    // Every state kept, for marks that change for all of them at once.
    template <typename F>
    void ForEach(F change) {
        for (State& s : undo_) change(s);
        for (State& s : redo_) change(s);
    }

private:
    static std::optional<State> Move(std::vector<State>& from, std::vector<State>& to, State now) {
        if (from.empty()) return std::nullopt;
        to.push_back(std::move(now));
        State back = std::move(from.back());
        from.pop_back();
        return back;
    }

    std::size_t depth_;
    std::vector<State> undo_, redo_;
};
