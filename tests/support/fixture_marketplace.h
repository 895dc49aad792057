#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/fixture_server.h"
#include "support/native_socket.h"

// A stand-in for the marketplace and the program's own web host, on loopback: the
// version text, product pages in the marketplace's shapes, description documents and
// images, all under their real host names (reached through the connection seams).
namespace tessaly::testing {

// One product, in UTF-8; the page is rendered in `charset`.
struct FixtureProduct {
  std::string id;           // twelve digits
  std::string title;        // empty: the page has no og:title at all
  std::string price;        // empty: no og:product:price
  std::string item_number;  // empty: no "货号:" in the page
  // Full-size picture addresses (see GalleryImage); the page lists each with a size
  // suffix (".400x400") before its extension, as the marketplace does.
  std::vector<std::string> gallery_images;
  // Picture addresses of the description document; empty: no data-tfs-url at all.
  std::vector<std::string> description_images;
  // Option name and picture address ("" for an option without a picture).
  std::vector<std::pair<std::string, std::string>> skus;
  std::string charset = "gbk";  // "gbk" or "utf-8"
  bool wall = false;            // the login wall instead of the page
};

class FixtureMarketplace;

// Points the client at the marketplace for its lifetime (like ScopedSeams, and
// following SetVersionReachable while it lives).
class MarketplaceSeams {
 public:
  explicit MarketplaceSeams(FixtureMarketplace& marketplace);
  ~MarketplaceSeams();
  MarketplaceSeams(const MarketplaceSeams&) = delete;
  MarketplaceSeams& operator=(const MarketplaceSeams&) = delete;

 private:
  FixtureMarketplace& marketplace_;
  ScopedSeams seams_;
};

class FixtureMarketplace {
 public:
  // Answers the version text "1".
  FixtureMarketplace();
  ~FixtureMarketplace();
  FixtureMarketplace(const FixtureMarketplace&) = delete;
  FixtureMarketplace& operator=(const FixtureMarketplace&) = delete;

  // Serves the product's page, its description document and its pictures.
  void AddProduct(const FixtureProduct& product);
  // Serves `body` as the page of product `id`, as it is.
  void SetProductPage(const std::string& id, const std::string& body);
  // The exact body of the version text.
  void SetVersionText(const std::string& text);
  // Unreachable: connections to the version text's host are refused.
  void SetVersionReachable(bool reachable);
  // Answers the picture with this status and an HTML error page (0: serve it again;
  // kCutOff: status 200, then the connection closes after half the picture).
  static constexpr int kCutOff = -1;
  void SetImageStatus(const std::string& address, int status);

  // Picture addresses of the shapes the pages use; distinct for distinct arguments.
  static std::string GalleryImage(const std::string& id, int number);
  static std::string DescriptionImage(const std::string& id, int number);
  static std::string SkuImage(const std::string& id, int number);
  // The bytes served for a picture address.
  static std::string ImageBytes(const std::string& address);
  // The page in the bytes it is served with (GBK or UTF-8).
  static std::string RenderPage(const FixtureProduct& product);
  static std::string ProductPagePath(const std::string& id);  // "/offer/<id>.html"
  // Where the page of a product with description pictures says its document is.
  static std::string DescriptionAddress(const std::string& id);
  // Serves these bytes at the address (any host the seams lead here); shared, so one
  // picture can stand behind many addresses.
  void ServeBytes(const std::string& address, std::shared_ptr<const std::string> bytes,
                  const std::string& type);

  FixtureServer& Server() { return server_; }
  // TESSALY_CONNECT_TO's value for this marketplace.
  std::string ConnectToValue() const;
  std::vector<RecordedRequest> Requests() const { return server_.Requests(); }
  // Paths (with queries) requested of `host`, in order.
  std::vector<std::string> PathsRequested(const std::string& host) const;
  // The "Cookie" header of every product page request, in order; nullopt: none sent.
  std::vector<std::optional<std::string>> ProductPageCookies() const;

 private:
  friend class MarketplaceSeams;
  void ServeImage(const std::string& address);
  void ApplySeams() const;

  mutable std::mutex mutex_;
  std::string version_text_ = "1";
  bool version_reachable_ = true;
  NativeSocket refusing_socket_ = kNoSocket;  // bound, never listening: connections are refused
  int refusing_port_ = 0;
  MarketplaceSeams* seams_ = nullptr;
  std::vector<std::pair<std::string, int>> image_statuses_;
  // Last, so that it stops serving before the values its handlers read are gone.
  FixtureServer server_;
};

}  // namespace tessaly::testing
