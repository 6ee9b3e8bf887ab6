// Reconciliation of the host's goods with the codes a device reports as holding: goods the
// device lacks become additions, codes only the device has become deletions.
#include <cstdint>

#include "exportdata/ksexpbuf.h"
#include "platform/env.h"
#include "tools/progress.h"

namespace {

// The device code as the search key. False when the row is to be skipped (nothing but zeros).
// With stripZeros the code itself loses its leading zeros too.
bool NormaliseCode(std::string& code, bool stripZeros, std::string& key) {
    const size_t first = code.find_first_not_of('0');
    if (first == std::string::npos) return false;
    if (stripZeros) {
        code.erase(0, first);
        key = code;
    } else {
        key.assign(code, first, std::string::npos);
    }
    return true;
}

// Progress at most about every 0.86 s (0.00001 of a day).
class ProgressTimer {
public:
    bool Due() {
        const std::int64_t now = platform::env().NowMicros();
        if (now - last_ <= 864000) return false;
        last_ = now;
        return true;
    }

private:
    std::int64_t last_ = platform::env().NowMicros();
};

}  // namespace

void KSExpBuf::DodInfo2TowRec(const std::string&, KSTowRec&) {}

void KSExpBuf::ModifyPLUStatus(KSTowRec& host, KSTowRec&) {
    if (host.status == stDod || host.status == stCen) host.status = stAkt;
}

bool KSExpBuf::CheckIfDeletePLU(KSTowRec&, KSTowRec&) { return false; }

// Goods of the host that the device does not hold: an update or price change becomes an
// addition, a deletion becomes nothing to send.
static void SettleUnmatched(KSExpBuf& buf, int i, KSTowRec& a) {
    buf.CzytajRec(i, a);
    if (a.flag) return;
    if (a.status == stAkt || a.status == stCen) {
        a.status = stDod;
        buf.ZapiszRec(i, a);
    }
    if (a.status == stUsu) {
        a.status = stNic;
        buf.ZapiszRec(i, a);
    }
}

void KSExpBuf::AnalizujCancelBufor(bool stripZeros) {
    const int n = towary.GetCount();
    ResetFlags(false);
    KSTowRec a, b;
    std::string code, key, additional;
    for (int d = 0; d < dodinfo.GetCount(); ++d) {
        code = dodinfo.GetText(d, 0);
        if (!NormaliseCode(code, stripZeros, key)) continue;
        additional = dodinfo.GetText(d, 1);
        const int r = FindRec(key, n);
        if (r == -1) {
            a.Clear();
            a.kod = code;
            a.status = stUsu;
            a.fd_from_ecr = true;
            a.flag = true;
            DodInfo2TowRec(additional, a);
            DodajRec(a);
        } else {
            CzytajRec(r, a);
            b.kod = a.kod;  // b keeps its other fields from row to row
            DodInfo2TowRec(additional, b);
            ModifyPLUStatus(a, b);
            a.flag = true;
            ZapiszRec(r, a);
        }
    }
    for (int i = 0; i < n; ++i) SettleUnmatched(*this, i, a);
    PrzeliczTowary();
}

void KSExpBuf::ComparePLUSets(bool stripZeros) {
    const int n = towary.GetCount();
    ResetFlags(false);
    KSTowRec a, b;
    std::string code, key, additional;
    int step = 1;
    ProgressTimer timer;
    auto report = [&] {
        if (timer.Due() && operation_) operation_->SetProgress(step);
        ++step;
    };
    for (int d = 0; d < dodinfo.GetCount(); ++d) {
        report();
        code = dodinfo.GetText(d, 0);
        if (!NormaliseCode(code, stripZeros, key)) continue;
        additional = dodinfo.GetText(d, 1);
        b.Clear();
        b.flag = true;
        b.status = stUsu;
        b.fd_from_ecr = true;
        DodInfo2TowRec(additional, b);
        const int r = FindRec(key, n);
        if (r == -1) {
            DodajRec(b);
        } else {
            CzytajRec(r, a);
            ModifyPLUStatus(a, b);
            if (CheckIfDeletePLU(a, b)) {
                b.status = stUsu;
                DodajRec(b);
            }
            a.flag = true;
            ZapiszRec(r, a);
        }
    }
    for (int i = 0; i < n; ++i) {
        report();
        SettleUnmatched(*this, i, a);
    }
    PrzeliczTowary();
}
