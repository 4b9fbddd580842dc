#include "ui/HandlerErrors.h"

#include <new>
#include <stdexcept>

#include "common/Errors.h"
#include "platform/Desktop.h"

namespace wf::ui {

std::string ErrorMessage(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "An unknown error occurred";
  }
}

void ShowHandlerError(const std::exception_ptr& error, platform::IMessageBoxes& messages,
                      const std::string& applicationTitle) {
  messages.ShowError(applicationTitle, WithFullStop(ErrorMessage(error)));
}

}  // namespace wf::ui
