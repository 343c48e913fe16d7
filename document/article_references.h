// The references from one article to others: link ranges of kind 3 and attachments that are
// articles. Copies between data files renumber articles and put both through one translation.
#pragma once
#include <cstdint>
#include <functional>

class CArticleRecord;

// Each referenced id of 0 or more goes through `translate`; a result of 0x80000001 removes the range
// or attachment, any other result replaces the id. Ids below 0 (a target outside this file) stay.
// The record is changed only when it refers to another article; true in that case.
bool TranslateArticleReferences(CArticleRecord& record, const std::function<int32_t(int32_t)>& translate);
