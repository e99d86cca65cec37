#pragma once
// How many of the double's COM objects are alive, for one host and in the whole process: a test
// that connects and releases an add-in expects both back where they were, as a host that frees
// its objects at exit relies on.
namespace inkra::test::office {

class LiveObjects {
 public:
  void Created();
  void Destroyed();
  long Count() const { return count_; }
  // Objects of every host double in this process.
  static long InProcess();

 private:
  long count_ = 0;
};

}  // namespace inkra::test::office
