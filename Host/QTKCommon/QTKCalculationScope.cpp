#include "Host/QTKCommon/QTKCalculationScope.h"

#include <atomic>
#include <utility>

#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"

namespace {

std::atomic<bool> GScopeActive{false};

}  // namespace

TQTKCalculationScope::TQTKCalculationScope(TQTKCalculationScopeOptions options)
    : options_(std::move(options)),
      details_(std::make_unique<TQTKDeductDetailContainer>()),
      savedDetailMode_(GIsDetailMode),
      savedContainer_(GetDeductDetailContainer())
{
    const bool wasActive = GScopeActive.exchange(true);
    QTK_ASSERT_MSG(!wasActive, "calculation scopes do not nest");
    try {
        StartCalculationSession(options_.session);
    } catch (...) {
        GScopeActive.store(false);
        throw;
    }
    SetDeductDetailContainer(details_.get());
    savedMessages_ = SetHostMessageCallback(options_.messages);
}

TQTKCalculationScope::~TQTKCalculationScope()
{
    if (options_.release) {
        try {
            options_.release();
        } catch (...) {
            // Ending must not fail; what could not be freed is freed with the model.
        }
    }
    StartCalculationSession({});
    GIsDetailMode = savedDetailMode_;
    SetDeductDetailContainer(savedContainer_);
    SetHostMessageCallback(std::move(savedMessages_));
    GScopeActive.store(false);
}

TQTKEdoGlobalData& TQTKCalculationScope::BeginQuantity(int recordId, const std::string& key)
{
    TQTKEdoGlobalData* data = GetEdoGlobalData(recordId);
    data->SetCurQty(key, key, key);
    data->SetIsExprMode(options_.exprMode);
    return *data;
}

std::optional<std::string> TQTKCalculationScope::ExprText(int recordId, const std::string& key) const
{
    std::string text;
    if (!GetEdoGlobalData(recordId)->GetShownExprText(key, text))
        return std::nullopt;
    return text;
}
