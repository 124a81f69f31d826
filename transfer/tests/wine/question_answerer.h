// Answers the replace questions of an import or export from a thread of
// the test's own, whichever thread shows them: the question is found by its
// owner window.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace transfer_test {

// Answers every replace question owned by `owner`, whichever thread shows
// it: the answers in order (1 presses Enter), then "否". Notes the name shown.
class QuestionAnswerer {
public:
    QuestionAnswerer(HWND owner, std::vector<int> answers) : owner_(owner), answers_(std::move(answers)) {
        thread_ = std::thread([this] { Loop(); });
    }
    ~QuestionAnswerer() {
        done_ = true;
        thread_.join();
    }
    std::vector<std::string> names;

private:
    struct Search {
        HWND owner;
        HWND found;
    };
    static BOOL CALLBACK Check(HWND window, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0 && ::GetWindow(window, GW_OWNER) == search->owner && ::IsWindowVisible(window)) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    void Loop() {
        while (!done_) {
            Search search{owner_, nullptr};
            ::EnumWindows(Check, reinterpret_cast<LPARAM>(&search));
            if (!search.found) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            char text[512] = {};
            ::GetDlgItemTextA(search.found, 1008, text, sizeof text);
            names.push_back(text);
            const int answer = next_ < answers_.size() ? answers_[next_++] : 1007;
            if (answer == 1) {
                ::PostMessageA(search.found, WM_KEYDOWN, VK_RETURN, 0);
            } else {
                ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            }
            while (!done_ && ::IsWindow(search.found)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    HWND owner_;
    std::vector<int> answers_;
    std::size_t next_ = 0;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace transfer_test
