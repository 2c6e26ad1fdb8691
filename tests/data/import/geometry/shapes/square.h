/// A square with sides of one length.
struct Square {
  double side;
};
