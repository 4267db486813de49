#include "checks.h"
#include "process_token.h"
#include "win/hresult_error.h"

CheckResult CheckProcessToken() {
    CheckResult result{Verdict::Warn, "token", {}, {}};
    ProcessToken token;
    try {
        token = ReadProcessToken();
    } catch (const hresult_error& failure) {
        result.detail = std::string("the process token cannot be read: ") + failure.what();
        return result;
    }
    result.detail = token.account + (token.elevated ? ", elevated" : ", not elevated") +
                    (token.localSystem ? ", LocalSystem" : ", not LocalSystem");
    if (token.elevated)
        result.verdict = Verdict::Pass;
    else
        result.detail += ": the firmware method usually refuses a token that is not elevated";
    result.facts.Text("account", token.account).Flag("elevated", token.elevated).Flag("localSystem", token.localSystem);
    return result;
}
