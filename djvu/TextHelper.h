#pragma once
// Text layers read in a helper process. DjVuLibre decodes a text layer by
// recursion, one level of the stack per level of nesting, and a layer of
// 134 bytes can nest 100,000 deep: read in the program, such a page would
// take the program down. The helper is the program itself started with
// kTextHelperArgument (or LEXIFOL_TEXT_HELPER); one is kept per thread that
// reads text, reused page after page, and started again after a page that
// made it fail, which is then reported as unreadable.
#include "djvu/TextLayer.h"
#include "base/Status.h"

#include <QString>
#include <optional>

namespace lexifol::djvu {

inline constexpr char kTextHelperArgument[] = "--lexifol-text-helper";

// Run by main() when its first argument is kTextHelperArgument: answers
// requests on the standard input until it closes. The process's exit code.
int RunTextHelper();

// The program started as the helper; empty: text is read in the process
// (a program that has no helper mode, as the tests).
void SetTextHelperProgram(const QString& program);
QString TextHelperProgram();

// The page's text layer (`asStored`: boxes as stored, the orientation flag
// not applied) or its plain text, read by the helper when there is one.
Result<TextLayer> ReadPageText(const QString& path, int page, bool asStored);
Result<QString> ReadPagePlainText(const QString& path, int page);
// The document's page count, from a helper that opened it (with what it
// refused it for), so that a reader going through the pages never opens
// the document itself.
Result<int> ReadPageCount(const QString& path);
// The same for a thread that must not wait (the page view's worker): sends
// the request, then gives the layer once it has come; nothing meanwhile,
// nor while the thread's helper answers another page.
std::optional<Result<TextLayer>> PollPageText(const QString& path, int page, bool asStored);

} // namespace lexifol::djvu
