namespace ondavia {}
