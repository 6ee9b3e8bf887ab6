// What a data buffer needs of the operation that owns it: progress lines in the host's
// window and the language service. The operation base implements it; buffers only see this.
#pragma once

#include <exception>
#include <string>

#include "targodll.h"

class TMLgExtTools;

class TLProgress {
public:
    virtual ~TLProgress() = default;
    virtual void StartStage(const std::string& text, int type, int max) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void SetStageType(int type) = 0;
    virtual const TMLgExtTools* GetLgTools() const = 0;
};

// One stage of work in the host's window: started when the scope begins, marked failed when an
// exception leaves the scope, done when the scope ends normally. The mark goes to whatever stage
// is current then, as steps may open stages of their own on the way. A null progress does
// nothing.
class TLStageScope {
public:
    TLStageScope(TLProgress* progress, const std::string& text, int type, int max)
        : progress_(progress), exceptions_(std::uncaught_exceptions()) {
        if (progress_ != nullptr) progress_->StartStage(text, type, max);
    }
    ~TLStageScope() noexcept(false) {
        if (progress_ == nullptr) return;
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                progress_->SetStageType(TARGO_STAGE_ERROR);
            } catch (...) {
                // the failure already on its way is the one to report
            }
            return;
        }
        progress_->SetStageType(TARGO_STAGE_DONE);
    }
    TLStageScope(const TLStageScope&) = delete;
    TLStageScope& operator=(const TLStageScope&) = delete;

private:
    TLProgress* progress_;
    int exceptions_;
};
