// Naming compound files (structured storage) that File Trace finds: the application that their summary
// information names decides the extension. Everything works on bytes in memory, as read from the source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How much of the source is taken for a classification: 16 reads of 128 sectors (1 MB).
constexpr uint32_t kCompoundReadSectors = 128;
constexpr uint32_t kCompoundReadPasses = 16;
// The summary information's property that names the application.
constexpr uint32_t kPidAppName = 18;

// The application name (property 18, an 8-bit string) of the summary information of the compound file
// held in data; empty when data holds no compound file that can be opened, or it has no summary
// information, or that names no application. The Windows build asks the system's structured storage; the
// other builds use ReadCompoundAppNameOwn.
std::string ReadCompoundAppName(const uint8_t* data, size_t size);

// Our own reader of compound files, in every build: header, allocation tables, directory, mini stream.
// Every sector number, count and size is checked against data; what cannot be followed gives an empty
// name, and so does a directory that IsSoundCompoundFile refuses.
std::string ReadCompoundAppNameOwn(const uint8_t* data, size_t size);

// True when our reader opens the compound file and can walk its directory tree: every link names an
// entry of the directory or none, and no entry is reached twice. The Windows build hands the system's
// structured storage only such files: it does not return from some directories with a link past their
// end.
bool IsSoundCompoundFile(const uint8_t* data, size_t size);

// The application name in the bytes of a summary-information property set stream; empty when the stream
// is no property set, or property 18 is missing or not an 8-bit string.
std::string ReadSummaryAppName(const uint8_t* stream, size_t size);

// The extension that an application name gives, tested in this order: "PowerPoint" ".ppt", "Excel" ".xls",
// "Word" ".doc", any other name ".pub". An empty name gives an empty extension: the hit keeps its own.
std::u16string CompoundExtensionForAppName(std::string_view appName);

// True when our reader opens the compound file and finds the properties stream of an Outlook message at
// its top.
bool IsOutlookMessage(const uint8_t* data, size_t size);

// What the main stream of an Office document says it is: "WordDocument" ".doc", "Workbook" (or Excel 95's "Book")
// ".xls", "PowerPoint Document" ".ppt"; empty for none of them, or a file our reader cannot open.
std::u16string CompoundExtensionForStreams(const uint8_t* data, size_t size);

// The extension for the compound file held in data: ".msg" for an Outlook message, else by the
// application name (see CompoundExtensionForAppName), else, where the summary names none (office suites
// other than Microsoft's leave it out), by the main stream.
std::u16string ClassifyCompoundFile(const uint8_t* data, size_t size);

// The same for the compound file that starts at a sector of the current source: reads 1 MB from there
// (kCompoundReadPasses reads of kCompoundReadSectors sectors; a read that fails leaves its part zero).
std::u16string ClassifyCompoundFile(uint32_t sector);
