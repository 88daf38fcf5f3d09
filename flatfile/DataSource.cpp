#include "flatfile/DataSource.h"

#include <algorithm>

#include "flatfile/custdataset.h"

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TListDataSet* dataSet) {
  if (dataSet_ == dataSet) return;
  if (dataSet_ != nullptr) {
    auto& links = dataSet_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) dataSet_->links_.push_back(this);
}
