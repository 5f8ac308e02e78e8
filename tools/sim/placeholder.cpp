namespace ib {}
