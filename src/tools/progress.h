// What a data buffer needs of the operation that owns it: progress lines in the host's
// window and the language service. The operation base implements it; buffers only see this.
#pragma once

#include <string>

class TMLgExtTools;

class TLProgress {
public:
    virtual ~TLProgress() = default;
    virtual void StartStage(const std::string& text, int type, int max) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void SetStageType(int type) = 0;
    virtual const TMLgExtTools* GetLgTools() const = 0;
};
