#include "engine/engine.h"


#include "engine/file_block.h"
#include "engine/operation.h"
#include "engine/page_cache.h"

namespace engine {

// --- Operation ----------------------------------------------------------------

Operation::Operation(Engine& engine) : engine_(engine) { started_ = Start(); }

Operation::Operation(Engine& engine, FileBlock* fileBlock, Access access, KeyNumber index)
    : engine_(engine) {
  started_ = Start();
  if (!started_) return;
  if (!engine_.IsOpen(fileBlock)) {
    engine_.Fail(status::kInvalidFileBlock);
  } else if (access == Access::kWrite && fileBlock->readOnly) {
    engine_.Fail(status::kReadOnly);
  } else if (index != kNoIndex && (index < 1 || index > fileBlock->header.nrOfKeys)) {
    engine_.Fail(status::kBadKeyNumber);
  } else {
    readOnlyFile_ = fileBlock->readOnly;
    return;
  }
  engine_.busy_ = false;
  started_ = false;
}

bool Operation::Start() {
  engine_.status_ = status::kOk;
  engine_.osError_ = 0;
  engine_.failedFunction_ = FileFunction::kNone;
  if (!engine_.initialised_) {
    engine_.Fail(status::kNotInitialised);
    return false;
  }
  if (engine_.busy_) {
    engine_.Fail(status::kEngineBusy);
    return false;
  }
  engine_.busy_ = true;
  return true;
}

Operation::~Operation() {
  if (!started_) return;
  engine_.busy_ = false;
  if (readOnlyFile_ && engine_.status_ == status::kOsError) engine_.status_ = status::kOsErrorReadOnly;
}

// --- Engine -------------------------------------------------------------------

Engine::Engine() = default;

Engine::~Engine() {
  if (initialised_) ExitEngine();
}

int Engine::InitEngine(int pageBuffersWanted) {
  status_ = status::kOk;
  if (initialised_) {
    Fail(status::kAlreadyInitialised);
    return 0;
  }
  if (pageBuffersWanted < kMinPageBuffers) {
    Fail(status::kTooFewBuffersWanted);
    return 0;
  }
  pages_ = std::make_unique<PageCache>(*this, pageBuffersWanted);
  initialised_ = true;
  return pages_->size();
}

void Engine::ExitEngine() {
  Operation operation(*this);
  if (!operation) return;
  while (!openFiles_.empty()) CloseFiles(openFiles_.back().get());
  pages_.reset();
  initialised_ = false;
}

void Engine::Fail(int code) {
  if (status_ == status::kOk) status_ = code;
}

void Engine::FailOs(int errorNumber, FileFunction function, const std::string& path) {
  if (osError_ == 0) {
    osError_ = errorNumber;
    failedFunction_ = function;
  }
  Fail(StatusOfOsError(errorNumber, path));
}

bool Engine::IsOpen(const FileBlock* fileBlock) const {
  if (fileBlock == nullptr) return false;
  for (const auto& open : openFiles_) {
    if (open.get() == fileBlock) return open->stamp == FileBlock::kValidStamp;
  }
  return false;
}

// --- Lock layer: files are opened for exclusive use, so every lock is granted ---

void Engine::LockFileSet(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
}
void Engine::UnlockFileSet(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
}
void Engine::ReadLockFileSet(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
}
void Engine::ReadUnlockFileSet(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
}

bool Engine::FileSetLocked(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
  return false;
}

bool Engine::FileSetReadLocked(FileBlock* fileBlock) {
  Operation check(*this, fileBlock, Operation::Access::kRead);
  return false;
}

}  // namespace engine
