#include "ui/stacking.h"

namespace zelkar {

std::vector<const Item*> ScreenModel::stackingOrder() const {
  std::vector<const Item*> order;
  order.reserve(kStackedItems);
  visitStacking(*this, [&](const Item& item, const Item*) { order.push_back(&item); });
  return order;
}

}  // namespace zelkar
