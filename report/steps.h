// A whole-report operation in named steps, run in one transaction: a step that
// fails undoes every earlier one, and the operation can say which step it was.
// Each family of operations keeps its own hook, through which a test can fail
// it after any step.
#pragma once

#include <functional>
#include <string>

namespace vt {

class Steps {
public:
    using Hook = std::function<void(const std::string& step)>;

    // `hook` (may be empty) is called after every step with the step's name;
    // an exception thrown from it fails the operation there. `first` names
    // what is being changed before the first step begins.
    Steps(const Hook& hook, std::string first) : hook_(hook), step_(std::move(first)) {}

    // Runs body in one transaction. True when it committed; false when
    // something threw, after every change was undone; Failed() and Reason()
    // then say where and why.
    bool Run(const std::function<void(Steps&)>& body);

    void Step(const std::string& what, const std::function<void()>& fn);

    const std::string& Failed() const { return step_; }
    const std::string& Reason() const { return reason_; }

private:
    const Hook& hook_;
    std::string step_;
    std::string reason_;
};

}  // namespace vt
