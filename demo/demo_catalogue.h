#pragma once

#include <string>
#include <vector>

#include "support/fixture_marketplace.h"

namespace tessaly::demo {

// How big the synthetic catalogue is. The defaults make a small demo; the
// benchmarks ask for many products with large pictures and pages.
struct CatalogueShape {
  int products = 6;
  int images = 8;     // per product: gallery, description and SKU pictures together
  int image_kb = 40;  // each picture
  int page_kb = 0;    // each product page is padded to this size; 0: as rendered
};

// Puts the products on `marketplace`: pages with Chinese titles, prices, item
// numbers, description documents, SKU options and generated PNG pictures. The
// products are returned in link order.
std::vector<testing::FixtureProduct> ServeCatalogue(testing::FixtureMarketplace& marketplace,
                                                    const CatalogueShape& shape);

// The link of a product, as a user would paste it.
std::string ProductLink(const testing::FixtureProduct& product);

// Every address that a run collecting `products` with every box ticked fetches, in
// the run's order: the version text, then per product its page, gallery pictures,
// description document, description pictures and SKU pictures.
std::vector<std::string> CollectionAddresses(const std::vector<testing::FixtureProduct>& products);

}  // namespace tessaly::demo
