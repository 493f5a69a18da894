// Serves the catalogue of site/ on 127.0.0.1: web_example PORT (0 for any
// free port). Each file goes out with its content type and ETag; a request
// that already holds the ETag gets 304, an unknown path 404, and "/" is
// index.html. An entry stored as gzip goes out as it is to a client that
// takes gzip, and inflated to one that doesn't.
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "site.h"

// True when the Accept-Encoding value takes gzip: "gzip" or "*", without
// "q=0".
bool TakesGzip(const std::string& accepted) {
  std::istringstream list(accepted);
  for (std::string item; std::getline(list, item, ',');) {
    const size_t start = item.find_first_not_of(" \t");
    if (start == std::string::npos)
      continue;
    const size_t end = item.find_first_of(" \t;", start);
    const std::string coding = item.substr(start, end - start);
    const size_t q = item.find("q=", end == std::string::npos ? item.size() : end);
    const bool refused = q != std::string::npos && std::strtod(item.c_str() + q + 2, nullptr) == 0;
    if ((coding == "gzip" || coding == "*") && !refused)
      return true;
  }
  return false;
}

// Sends the bytes as they are, kept alive by `owner`. cpp-httplib encodes a
// text body by itself, and takes any mention of gzip or br for consent; it
// leaves alone a body sent by a provider of known length.
void Send(httplib::Response& response, const unsigned char* data, size_t size, const std::string& type,
          std::shared_ptr<const void> owner) {
  if (size == 0) {
    response.set_content("", type);
    return;
  }
  response.set_content_provider(size, type, [data, owner](size_t offset, size_t length, httplib::DataSink& sink) {
    return sink.write(reinterpret_cast<const char*>(data) + offset, length);
  });
}

void Serve(const httplib::Request& request, httplib::Response& response) {
  const std::string path = request.path == "/" ? "index.html" : request.path.substr(1);
  const Data::site_entry* entry = Data::site_find(path);
  if (!entry) {
    response.status = 404;
    response.set_content("Not found\n", "text/plain; charset=utf-8");
    return;
  }
  const std::string etag(entry->etag);
  response.set_header("ETag", etag);
  // Browsers then refuse a script or a stylesheet sent as another type.
  response.set_header("X-Content-Type-Options", "nosniff");
  if (request.get_header_value("If-None-Match").find(etag) != std::string::npos) {
    response.status = 304;
    return;
  }
  const std::string type(entry->content_type);
  if (!entry->gzip) {
    Send(response, entry->data, entry->size, type, nullptr);
    return;
  }
  response.set_header("Vary", "Accept-Encoding");
  if (TakesGzip(request.get_header_value("Accept-Encoding"))) {
    response.set_header("Content-Encoding", "gzip");
    Send(response, entry->data, entry->size, type, nullptr);
    return;
  }
  auto bytes = std::make_shared<std::vector<unsigned char>>(entry->original_size);
  if (!Data::site_inflate(*entry, bytes->data(), bytes->size())) {
    response.status = 500;
    return;
  }
  Send(response, bytes->data(), bytes->size(), type, bytes);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: web_example PORT (0 for any free port)\n");
    return 2;
  }
  httplib::Server server;
  server.Get(".*", Serve);
  int port = std::atoi(argv[1]);
  if (port == 0)
    port = server.bind_to_any_port("127.0.0.1");
  else if (!server.bind_to_port("127.0.0.1", port))
    port = -1;
  if (port < 0) {
    std::fprintf(stderr, "can't listen on 127.0.0.1:%s\n", argv[1]);
    return 1;
  }
  std::printf("listening on 127.0.0.1:%d\n", port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
