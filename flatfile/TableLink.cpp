#include "flatfile/TableLink.h"

#include <algorithm>

#include "flatfile/Table.h"

TTableLink::~TTableLink() {
  SetDataSet(nullptr);
}

void TTableLink::SetDataSet(TTable* dataSet) {
  if (dataSet_ == dataSet) return;
  if (dataSet_ != nullptr) {
    auto& links = dataSet_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->links_.push_back(this);
}
