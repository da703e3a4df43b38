#pragma once

namespace mtd::mpi {

// The life of every rank but 0: compute the batches rank 0 hands out, point after point, until
// it says QUIT. Returns the exit status QUIT carries.
int runWorker();

}  // namespace mtd::mpi
