#include "support/headless_screen.h"

namespace vt::testing {

namespace {
Text NextAnswer(std::vector<Text>& answers) {
  if (answers.empty()) return Text();
  Text answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}
}  // namespace

void HeadlessScreen::CreateMainWindow(const Text& title) {
  hasWindow = true;
  windowTitle = title;
  ++windowsCreated;
}

Event HeadlessScreen::WaitEvent() {
  if (events.Empty()) return TerminateEvent();
  return events.Take();
}

Text HeadlessScreen::OpenFileDialog(const Text& title, const Text& extension,
                                   const Text& folder) {
  dialogs.push_back({false, title, extension, folder});
  return NextAnswer(dialogAnswers);
}

Text HeadlessScreen::ChooseFolderDialog(const Text& title) {
  dialogs.push_back({true, title, Text(), Text()});
  return NextAnswer(dialogAnswers);
}

}  // namespace vt::testing
