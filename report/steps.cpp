#include "report/steps.h"

#include <exception>

#include "platform/db/db.h"
#include "store/report.h"

namespace vt {

bool Steps::Run(const std::function<void(Steps&)>& body) {
    try {
        db::Transaction tx(Db());
        body(*this);
        tx.Commit();
        return true;
    } catch (const std::exception& e) {
        reason_ = e.what();
        return false;
    }
}

void Steps::Step(const std::string& what, const std::function<void()>& fn) {
    step_ = what;
    fn();
    if (hook_) hook_(what);
}

}  // namespace vt
