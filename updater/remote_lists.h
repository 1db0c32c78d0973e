#pragma once

#include "platform/download.h"

#include <string>
#include <string_view>

// The update directory on the game's web server and the lists read from it.
namespace vastorim {

// serverBase + "/client".
std::string updateBase();

// The address of a file of the update directory; each segment of the path percent-encoded.
std::string updateFileUrl(std::string_view path);

// The public key that lists must be signed with (base64 of its raw 32 bytes): the build setting
// VASTORIM_UPDATE_PUBLIC_KEY; empty in a build without a key, which takes lists unsigned.
std::string_view updatePublicKey();

// Downloads `url` into `localPath`, creating its folder when missing and replacing the file
// there, with a line in the client log for each step. Throws UpdateProblem when the download
// fails.
void fetchFile(const std::string& url, const std::string& localPath,
               const platform::DownloadLimits& limits);

// remoteVersions from the remote version list, fetched into the folder "temp", which is removed
// again. Throws UpdateProblem when the list cannot be fetched, is not signed with the build's
// key, has a line that is not a version number, no "END" or no version before it.
void fetchRemoteVersions();

// updateFiles and expectedFiles from the file list of every remote version newer than the local
// one, in the remote list's order. Throws UpdateProblem when a list cannot be fetched or read, is
// not signed with the build's key, lacks a hash line for one of its paths (in a build with a
// key), or names a path that an update may not touch.
void collectUpdateFiles();

} // namespace vastorim
