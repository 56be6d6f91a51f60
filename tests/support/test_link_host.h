#pragma once

#include <functional>
#include <string>
#include <vector>

#include "comm_link.h"
#include "test_main_loop.h"

namespace mokuro::test {

// The main window as the link sees it: it keeps what is shown and delivered. A reply
// delivered while another is still being processed is counted as a fault.
class TestLinkHost : public CommLinkHost {
 public:
  explicit TestLinkHost(TestMainLoop& loop) : loop_(loop) {}

  void ShowConfirmMessage(const std::string& text) override { confirms.push_back(text); }
  void ShowLastErrorMessage(const std::string& text) override { lastErrors.push_back(text); }
  MemoText& Memo() override { return memo; }
  void PostToMainThread(std::function<void()> task) override { loop_.Post(std::move(task)); }
  void DeliverResponse(const std::string& reply) override {
    if (processing_) ++nestedDeliveries;
    processing_ = true;
    replies.push_back(reply);
    if (onReply) onReply(reply);
    processing_ = false;
  }

  MemoText memo;
  std::vector<std::string> confirms;
  std::vector<std::string> lastErrors;
  std::vector<std::string> replies;
  int nestedDeliveries = 0;
  // Runs inside DeliverResponse, as the main window's processing of the reply.
  std::function<void(const std::string&)> onReply;

 private:
  TestMainLoop& loop_;
  bool processing_ = false;
};

}  // namespace mokuro::test
