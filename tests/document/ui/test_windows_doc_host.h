// The Windows host for tests that open no article window. Asking it for one, or for a question that
// reads the article windows, is a fault of the test: it raises an error the test sees instead of
// answering for a user who was never asked.
#pragma once
#include "document/ui/doc_host_win.h"
#include "storage/quor_error.h"

class CTestWindowsDocHost : public CWindowsDocHost {
public:
    void OpenArticleWindow(CQuorvaneDoc&, int32_t) override { throw CQuorError(kInternalInitialization); }
    bool AskSaveUnsavedArticles(const std::string&) override { throw CQuorError(kInternalInitialization); }
    bool ChooseDuplicates(const std::vector<int32_t>&, bool, CArticleIdSet&) override
    {
        throw CQuorError(kInternalInitialization);
    }
};
